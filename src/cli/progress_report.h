#pragma once
// What standard error shows of a run: on a terminal a live line per file and a summary,
// otherwise the activity log's lines with their time stamps. Called on the UI thread.
#include <memory>
#include <ostream>
#include <string>

#include "cli/progress_text.h"

namespace cvu::cli {

class ProgressReport {
 public:
  virtual ~ProgressReport() = default;
  // An activity log line as written; file: the position of the file in hand, or -1
  // (before the first file: the history load; after the last: the group's end).
  virtual void logLine(int file, const std::string& line) = 0;
  // A text is about to go to standard output, which may be the same terminal.
  virtual void beforeOutput() = 0;
  // Now and then while a file is sent.
  virtual void progress(const FileProgress& p) = 0;
  // The file is done with; recorded: uploaded and its row written.
  virtual void fileDone(const FileProgress& p, bool recorded) = 0;
  virtual void finished(int recorded, int total, std::uint64_t bytes, double seconds) = 0;
};

// The log's lines, one a line, nothing else.
std::unique_ptr<ProgressReport> MakeLogEcho(std::ostream& err);
// The live line per file (redrawn in place), the log lines of a file that failed, and a
// summary at the end.
std::unique_ptr<ProgressReport> MakeLiveProgress(std::ostream& err);

}  // namespace cvu::cli
