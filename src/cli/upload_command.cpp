#include "cli/upload_command.h"

#include <exception>
#include <istream>
#include <ostream>
#include <thread>

#include "cli/input_paths.h"
#include "cli/run_setup.h"
#include "cli/upload_session.h"
#include "cli/usage_text.h"
#include "common/identity.h"
#include "http/curl_handles.h"

namespace cvu::cli {
namespace {

// libcurl and the libraries it brings (TLS, Kerberos, LDAP ...) take several
// milliseconds to load and initialise; they load while the settings are read and the
// database is made ready, instead of before the first request. A failure is left for
// that request to meet and report.
std::jthread LoadCurlMeanwhile() {
  return std::jthread([] {
    try {
      EnsureCurlInitialised();
    } catch (const std::exception&) {
    }
  });
}

}  // namespace

int RunUploadCommand(const CliOptions& options, const CommandStreams& streams, StopRequests& stops) {
  if (!options.host.empty()) SetServiceHost(options.host);  // before any thread reads it
  const std::vector<std::string> files = ExpandInputPaths(options.files, streams.in);
  if (files.empty()) {
    streams.err << "corvane-upload: no files given (standard input held no path)\n";
    return 2;
  }
  const std::jthread curlLoad = LoadCurlMeanwhile();
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
  return RunUploadCommand(options, streams, stops);
}

}  // namespace cvu::cli
