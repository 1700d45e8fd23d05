#include "child_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <map>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace cvu::bench {
namespace {

// The whole environment as "NAME=value" texts, with the setup's variables set.
std::vector<std::string> Environment(const ChildSetup& setup) {
  std::map<std::string, std::string> values;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const auto eq = entry.find('=');
    if (eq != std::string::npos) values[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [name, value] : setup.env) values[name] = value;
  std::vector<std::string> result;
  for (const auto& [name, value] : values) result.push_back(name + "=" + value);
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const ChildSetup& setup) {
  if (setup.argv.empty()) throw std::invalid_argument("child: no program");
  // Everything the child needs is made before the fork: only async-signal-safe calls after it.
  std::vector<std::string> args = setup.argv;
  std::vector<std::string> env = Environment(setup);
  const std::vector<char*> argv = Pointers(args);
  const std::vector<char*> envp = Pointers(env);
  const std::string output = setup.outputFile.empty() ? "/dev/null" : setup.outputFile;
  const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) throw std::runtime_error("child: cannot open " + output);
  started_ = std::chrono::steady_clock::now();
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // a benchmark stopped by a signal leaves no child behind
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    if (setup.inheritFd >= 0) fcntl(setup.inheritFd, F_SETFD, 0);
    if (!setup.folder.empty() && chdir(setup.folder.c_str()) != 0) _exit(126);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(out);
  if (pid_ < 0) throw std::runtime_error("child: fork failed: " + std::string(std::strerror(errno)));
}

ChildProcess::~ChildProcess() { terminate(); }

bool ChildProcess::reap(int options) {
  if (ended_) return true;
  const pid_t r = waitpid(pid_, &status_, options);
  if (r == pid_) ended_ = true;
  return ended_;
}

bool ChildProcess::running() { return pid_ > 0 && !reap(WNOHANG); }

int ChildProcess::terminate(double graceSeconds) {
  if (pid_ <= 0) return -1;
  if (!reap(WNOHANG)) {
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(graceSeconds);
    while (!reap(WNOHANG) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!ended_) {
      kill(pid_, SIGKILL);
      reap(0);
    }
  }
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  return WIFSIGNALED(status_) ? -WTERMSIG(status_) : -1;
}

}  // namespace cvu::bench
