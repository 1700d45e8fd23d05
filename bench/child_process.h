#pragma once
// A child process the GUI benchmarks start (the X server, the program, the reference
// window): started in a folder with extra environment variables, ended and reaped when
// the object goes, so no child outlives a failed run.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace cvu::bench {

struct ChildSetup {
  std::vector<std::string> argv;                         // argv[0] is searched in PATH
  std::string folder;                                    // working folder; empty: this process's
  std::vector<std::pair<std::string, std::string>> env;  // set or replaced in the child's environment
  std::string outputFile;                                // standard output and error; empty: /dev/null
  int inheritFd = -1;                                    // a descriptor the child keeps open
};

class ChildProcess {
 public:
  explicit ChildProcess(const ChildSetup& setup);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // The moment just before the fork: "from exec" in the benchmarks' figures.
  std::chrono::steady_clock::time_point started() const { return started_; }
  bool running();
  // SIGTERM, then SIGKILL after graceSeconds. Returns the exit code, or -signal when it
  // was killed by one.
  int terminate(double graceSeconds = 20);

 private:
  bool reap(int options);

  pid_t pid_ = -1;
  int status_ = 0;
  bool ended_ = false;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace cvu::bench
