#include "cli/upload_command.h"

#include <filesystem>
#include <istream>
#include <ostream>

#include "cli/data_folder.h"
#include "cli/input_paths.h"
#include "cli/run_setup.h"
#include "cli/upload_session.h"
#include "cli/usage_text.h"
#include "common/identity.h"

namespace cvu::cli {
namespace {

// The launcher of the windowed program asks for the folder this way, so both keep it
// by the same rules.
int PrintDataFolder(const CommandStreams& streams) {
  try {
    streams.out << std::filesystem::path(PrepareOwnDataFolder()).parent_path().string() << '\n';
    return 0;
  } catch (const DataFolderError& e) {
    streams.err << "corvane-upload: " << e.what() << '\n';
    return 2;
  }
}

}  // namespace

int RunUploadCommand(const CliOptions& options, const CommandStreams& streams, StopRequests& stops) {
  if (!options.host.empty()) SetServiceHost(options.host);  // before any thread reads it
  const std::vector<std::string> files = ExpandInputPaths(options.files, streams.in);
  if (files.empty()) {
    streams.err << "corvane-upload: no files given (standard input held no path)\n";
    return 2;
  }
  const auto report = streams.terminal ? MakeLiveProgress(streams.err, streams.columns) : MakeLogEcho(streams.err);
  CliProgram program(streams.err);
  UploadSession session(options, program, streams.out, *report);
  if (const auto status = PrepareRun(options, program, streams.err)) return *status;
  return session.run(files, stops);
}

int CorvaneUploadMain(const std::vector<std::string>& args, const CommandStreams& streams, StopRequests& stops) {
  CliOptions options;
  try {
    options = ParseCommandLine(args);
  } catch (const UsageError& e) {
    streams.err << "corvane-upload: " << e.what() << "\nTry 'corvane-upload --help'.\n";
    return 2;
  }
  if (options.help) {
    streams.out << UsageText();
    return 0;
  }
  if (options.version) {
    streams.out << VersionLine() << '\n';
    return 0;
  }
  if (options.dataFolder) return PrintDataFolder(streams);
  return RunUploadCommand(options, streams, stops);
}

}  // namespace cvu::cli
