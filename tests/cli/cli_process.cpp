#include "cli/cli_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace cvu::test {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// In the child: the working folder and the three streams, then the program.
[[noreturn]] void StartChild(const std::vector<std::string>& args, const std::string& dir, const std::string& stem) {
  std::vector<std::string> argv = {CVU_UPLOAD_EXE};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (auto& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const int in = ::open((stem + ".in").c_str(), O_RDONLY);
  const int out = ::open((stem + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open((stem + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0 || ::chdir(dir.c_str()) != 0) ::_exit(127);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  ::execv(pointers[0], pointers.data());
  ::_exit(127);
}

}  // namespace

CliRun RunCorvaneUploadProcess(const std::vector<std::string>& args, const std::string& workingDir,
                               const std::string& input) {
  // The streams live beside the folder, so the program's own files are all it holds.
  const std::string stem = workingDir + ".streams";
  std::ofstream(stem + ".in", std::ios::binary) << input;
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) StartChild(args, workingDir, stem);
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) throw std::runtime_error("waitpid failed");
  CliRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadAll(stem + ".out");
  run.err = ReadAll(stem + ".err");
  for (const char* suffix : {".in", ".out", ".err"}) ::unlink((stem + suffix).c_str());
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace cvu::test
