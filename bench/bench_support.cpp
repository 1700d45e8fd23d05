#include "bench_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace cvu::bench {

double SecondsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

TempFolder::TempFolder(const std::string& prefix) {
  std::random_device rd;
  path_ =
      std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempFolder::removeFiles() const {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
    if (!entry.is_directory()) files.push_back(entry.path());
  }
  for (const auto& file : files) std::filesystem::remove(file);
}

void WriteFile(const std::string& path, std::uint64_t bytes) {
  std::string block(1 << 20, '\0');
  std::mt19937 random(42);
  for (char& c : block) c = static_cast<char>(random());
  std::ofstream out(path, std::ios::binary);
  for (std::uint64_t left = bytes; left > 0;) {
    const auto n = std::min<std::uint64_t>(left, block.size());
    out.write(block.data(), static_cast<std::streamsize>(n));
    left -= n;
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

namespace {

// The child: standard output into the pipe, then exec. The parent has threads, so
// the child allocates nothing between fork and exec.
[[noreturn]] void ExecChild(char* const* args, int pipeWrite) {
  ::dup2(pipeWrite, STDOUT_FILENO);
  ::execvp(args[0], args);
  ::_exit(127);
}

std::string ReadAll(int fd) {
  std::string text;
  char chunk[4096];
  for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<std::size_t>(got));
  return text;
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const auto start = SteadyClock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    ExecChild(args.data(), fds[1]);
  }
  ::close(fds[1]);
  ChildRun run;
  run.output = ReadAll(fds[0]);
  ::close(fds[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  run.seconds = SecondsSince(start);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.maxRssKb = usage.ru_maxrss;
  return run;
}

long PeakRssKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

long RusagePeakKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void ParseIntOptions(int argc, char** argv, const std::map<std::string, int*>& names) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const auto it = names.find(argv[i]);
    if (it == names.end()) {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      std::exit(2);
    }
    *it->second = std::atoi(argv[i + 1]);
  }
}

}  // namespace cvu::bench
