// The report for a terminal: one line per file, redrawn in place while it is sent.
#include <map>
#include <string_view>
#include <vector>

#include "cli/progress_report.h"

namespace cvu::cli {
namespace {

constexpr const char* kClearToEnd = "\x1b[K";
constexpr std::string_view kSeparator = "] ============";  // the log's line between files

bool IsSeparator(const std::string& line) {
  return line.size() >= kSeparator.size() &&
         line.compare(line.size() - kSeparator.size(), kSeparator.size(), kSeparator) == 0;
}

class LiveProgress : public ProgressReport {
 public:
  explicit LiveProgress(std::ostream& err) : err_(err) {}

  void logLine(int file, const std::string& line) override {
    if (file >= 0) {
      filesBegun_ = true;
      if (!IsSeparator(line)) linesOf_[file].push_back(line);
    } else if (!filesBegun_) {
      // Before the first file (the history load): shown at once. The group's end is
      // told by the summary instead.
      err_ << '\r' << line << kClearToEnd << '\n' << std::flush;
    }
  }

  void beforeOutput() override { err_ << '\r' << kClearToEnd << std::flush; }

  void progress(const FileProgress& p) override {
    filesBegun_ = true;
    err_ << '\r' << ProgressLine(p) << kClearToEnd << std::flush;
  }

  void fileDone(const FileProgress& p, bool recorded) override {
    filesBegun_ = true;
    err_ << '\r' << ProgressLine(p) << (recorded ? "  done" : "  FAILED") << kClearToEnd << '\n';
    if (!recorded) {
      // Why: the log lines written while this file was in hand.
      for (const auto& line : linesOf_[p.index]) err_ << "    " << line << '\n';
    }
    linesOf_.erase(p.index);
    err_ << std::flush;
  }

  void finished(int recorded, int total, std::uint64_t bytes, double seconds) override {
    err_ << '\r' << SummaryLine(recorded, total, bytes, seconds) << kClearToEnd << '\n' << std::flush;
  }

 private:
  std::ostream& err_;
  std::map<int, std::vector<std::string>> linesOf_;
  bool filesBegun_ = false;
};

}  // namespace

std::unique_ptr<ProgressReport> MakeLiveProgress(std::ostream& err) { return std::make_unique<LiveProgress>(err); }

}  // namespace cvu::cli
