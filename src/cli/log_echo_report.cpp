// The report for a pipe or a file: the activity log as the big-log window shows it.
#include "cli/progress_report.h"

namespace cvu::cli {
namespace {

class LogEcho : public ProgressReport {
 public:
  explicit LogEcho(std::ostream& err) : err_(err) {}
  // One write per line: the standard error stream writes each piece it is given at once.
  void logLine(int, const std::string& line) override { err_ << line + '\n' << std::flush; }
  void beforeOutput() override {}
  void progress(const FileProgress&) override {}
  void fileDone(const FileProgress&, bool) override {}
  void finished(int, int, std::uint64_t, double) override {}

 private:
  std::ostream& err_;
};

}  // namespace

std::unique_ptr<ProgressReport> MakeLogEcho(std::ostream& err) { return std::make_unique<LogEcho>(err); }

}  // namespace cvu::cli
