// The report for a terminal: a block of lines, one per file in flight, redrawn in place;
// above it each file's last line once it is done with, in input order.
#include <chrono>
#include <map>
#include <string_view>
#include <vector>

#include "cli/progress_report.h"

namespace cvu::cli {
namespace {

constexpr const char* kClearToEnd = "\x1b[K";
constexpr const char* kClearBelow = "\x1b[J";
constexpr std::string_view kSeparator = "] ============";  // the log's line between files
// The block is redrawn at most this often while only figures change.
constexpr std::chrono::milliseconds kRedrawInterval{50};

bool IsSeparator(const std::string& line) {
  return line.size() >= kSeparator.size() &&
         line.compare(line.size() - kSeparator.size(), kSeparator.size(), kSeparator) == 0;
}

class LiveProgress : public ProgressReport {
 public:
  LiveProgress(std::ostream& err, std::function<int()> columns) : err_(err), columns_(std::move(columns)) {}

  void logLine(int file, const std::string& line) override {
    if (file >= 0) {
      filesBegun_ = true;
      if (!IsSeparator(line)) linesOf_[file].push_back(line);
    } else if (!filesBegun_) {
      // Before the first file (the history load, files not sent): shown at once. The
      // group's end is told by the summary instead.
      printAbove({line});
    }
  }

  void beforeOutput() override { clearBlock(); }

  void progress(const FileProgress& p) override {
    filesBegun_ = true;
    const bool isNew = inFlight_.find(p.index) == inFlight_.end();
    inFlight_[p.index] = p;
    if (isNew || Clock::now() - lastDrawn_ >= kRedrawInterval) redraw();
  }

  void fileDone(const FileProgress& p, bool recorded) override {
    filesBegun_ = true;
    inFlight_.erase(p.index);
    std::vector<std::string> lines = {ProgressLine(p) + (recorded ? "  done" : "  FAILED")};
    if (!recorded) {
      // Why: the log lines the file wrote.
      for (const auto& line : linesOf_[p.index]) lines.push_back("    " + line);
    }
    linesOf_.erase(p.index);
    printAbove(lines);
  }

  void finished(int recorded, int total, std::uint64_t bytes, double seconds) override {
    inFlight_.clear();
    printAbove({SummaryLine(recorded, total, bytes, seconds)});
  }

 private:
  using Clock = std::chrono::steady_clock;

  // The line as the terminal shows it on one row: cut to one column less than its width
  // (a full row would wrap on some terminals), counting a character a column.
  std::string Fitted(const std::string& line) const {
    const int width = columns_ ? columns_() : 0;
    if (width <= 1) return line;
    const std::size_t room = static_cast<std::size_t>(width - 1);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const auto byte = static_cast<unsigned char>(line[i]);
      if ((byte & 0xC0) == 0x80) continue;  // a follower of the character before
      if (characters++ == room) return line.substr(0, i);
    }
    return line;
  }

  void clearBlock() {
    if (drawn_ > 0) err_ << "\x1b[" << drawn_ << 'F' << kClearBelow;
    drawn_ = 0;
  }

  void drawBlock() {
    for (const auto& [index, p] : inFlight_) err_ << Fitted(ProgressLine(p)) << kClearToEnd << '\n';
    drawn_ = static_cast<int>(inFlight_.size());
    lastDrawn_ = Clock::now();
    err_ << std::flush;
  }

  void redraw() {
    clearBlock();
    drawBlock();
  }

  // Lines that stay, printed above the block, which is then drawn anew.
  void printAbove(const std::vector<std::string>& lines) {
    clearBlock();
    for (const auto& line : lines) err_ << line << kClearToEnd << '\n';
    drawBlock();
  }

  std::ostream& err_;
  std::function<int()> columns_;
  std::map<int, FileProgress> inFlight_;
  std::map<int, std::vector<std::string>> linesOf_;
  int drawn_ = 0;  // rows of the block on the screen, the cursor below them
  Clock::time_point lastDrawn_{};
  bool filesBegun_ = false;
};

}  // namespace

std::unique_ptr<ProgressReport> MakeLiveProgress(std::ostream& err, std::function<int()> columns) {
  return std::make_unique<LiveProgress>(err, std::move(columns));
}

}  // namespace cvu::cli
