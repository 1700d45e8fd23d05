#pragma once
// Small helpers the upload benchmarks share: a temporary folder, medians, a child
// process run with its output and peak memory, and this process's memory figures.
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace cvu::bench {

using SteadyClock = std::chrono::steady_clock;

double SecondsSince(SteadyClock::time_point start);
double Median(std::vector<double> values);

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Removes every file below it, keeps the folders.
  void removeFiles() const;

 private:
  std::filesystem::path path_;
};

// Writes a file of the given size from a repeated non-uniform block.
void WriteFile(const std::string& path, std::uint64_t bytes);

struct ChildRun {
  std::string output;  // its standard output
  int exitCode = -1;   // -1: did not exit normally
  double seconds = 0;  // wall time from start to exit
  long maxRssKb = 0;   // its peak resident set (wait4's ru_maxrss)
};

// Runs argv[0] (searched in PATH) with the arguments and waits for it.
ChildRun RunChild(const std::vector<std::string>& argv);

// This process's peak resident set in kB: VmHWM from /proc/self/status.
long PeakRssKb();
// The same from getrusage (ru_maxrss).
long RusagePeakKb();

// Reads "--name value" pairs into the integers they name; an unknown name ends the run
// with status 2.
void ParseIntOptions(int argc, char** argv, const std::map<std::string, int*>& names);

}  // namespace cvu::bench
