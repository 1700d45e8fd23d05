#pragma once
// What standard error shows of a run: on a terminal a live line per file in flight and a
// summary, otherwise the activity log's lines with their time stamps. Called on the UI
// thread.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/progress_text.h"

namespace cvu::cli {

class ProgressReport {
 public:
  virtual ~ProgressReport() = default;
  // An activity log line as written; file: the position of the file it belongs to, or
  // -1 (the run's own: before the first file, between files, the group's end).
  virtual void logLine(int file, const std::string& line) = 0;
  // A text is about to go to standard output, which may be the same terminal.
  virtual void beforeOutput() = 0;
  // Now and then while a file is in flight (several may be).
  virtual void progress(const FileProgress& p) = 0;
  // The file is done with, in input order; recorded: uploaded and its row written.
  virtual void fileDone(const FileProgress& p, bool recorded) = 0;
  virtual void finished(int recorded, int total, std::uint64_t bytes, double seconds) = 0;
};

// The log's lines, one a line, nothing else.
std::unique_ptr<ProgressReport> MakeLogEcho(std::ostream& err);
// A line per file in flight, redrawn in place and cut to the terminal's width (columns()
// is asked at each drawing); the log lines of a file that failed; a summary at the end.
std::unique_ptr<ProgressReport> MakeLiveProgress(std::ostream& err, std::function<int()> columns);

}  // namespace cvu::cli
