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

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The child's own entries first (getenv takes the first of a name), then the default
// HOME, then this process's environment without HOME and XDG_DATA_HOME.
std::vector<std::string> ChildEnvironment(const std::string& dir, const std::vector<std::string>& own) {
  std::vector<std::string> env = own;
  env.push_back("HOME=" + dir + ".home");
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (!text.starts_with("HOME=") && !text.starts_with("XDG_DATA_HOME=")) env.push_back(text);
  }
  return env;
}

// In the child: the working folder and the three streams, then the program.
[[noreturn]] void StartChild(std::vector<char*>& argv, std::vector<char*>& env, const std::string& dir,
                             const std::string& stem) {
  const int in = ::open((stem + ".in").c_str(), O_RDONLY);
  const int out = ::open((stem + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open((stem + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0 || ::chdir(dir.c_str()) != 0) ::_exit(127);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  ::execve(argv[0], argv.data(), env.data());
  ::_exit(127);
}

}  // namespace

CliRun RunCorvaneUploadProcess(const std::vector<std::string>& args, const std::string& workingDir,
                               const std::string& input, const std::vector<std::string>& environment) {
  // Made before the fork: the test's other threads may hold the allocator's lock.
  std::vector<std::string> argTexts = {CVU_UPLOAD_EXE};
  argTexts.insert(argTexts.end(), args.begin(), args.end());
  std::vector<std::string> envTexts = ChildEnvironment(workingDir, environment);
  std::vector<char*> argv = Pointers(argTexts), env = Pointers(envTexts);
  // The streams live beside the folder, so the program's own files are all it holds.
  const std::string stem = workingDir + ".streams";
  std::ofstream(stem + ".in", std::ios::binary) << input;
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) StartChild(argv, env, workingDir, stem);
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
