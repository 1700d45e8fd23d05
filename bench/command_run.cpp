#include "command_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "bench_support.h"
#include "child_process.h"
#include "history_database.h"
#include "proc_status.h"

namespace cvu::bench {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// True once the forked child runs the command: before its exec it is a copy of this process,
// whose memory is not the command's.
bool RunsCommand(pid_t pid, const std::filesystem::path& command) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error) == command;
}

}  // namespace

CommandResult RunUploadCommand(const std::string& database, const std::vector<std::string>& args,
                               const std::vector<std::string>& files, double timeout) {
  TempFolder folder("cvu-bench-command-run");
  const std::string db = folder.file("cvxas.common.dll");
  std::filesystem::copy_file(database, db);
  std::vector<std::string> argv = {CVU_UPLOAD_EXE, "--database", db};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.insert(argv.end(), files.begin(), files.end());
  const std::filesystem::path command = std::filesystem::canonical(CVU_UPLOAD_EXE);
  CommandResult result;
  {
    ChildProcess child({argv, folder.path().string(), {}, folder.file("output.txt"), -1});
    while (child.running()) {
      if (SecondsSince(child.started()) > timeout) {
        throw std::runtime_error("corvane-upload did not end within " + std::to_string(int(timeout)) + " s");
      }
      if (RunsCommand(child.pid(), command)) result.peakKb = std::max(result.peakKb, ReadMemory(child.pid()).hwm);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.seconds = SecondsSince(child.started());
    result.exitCode = child.terminate();
  }
  result.recorded = CountRows(db, "CVU_HISTORY");
  result.output = ReadText(folder.file("output.txt"));
  return result;
}

}  // namespace cvu::bench
