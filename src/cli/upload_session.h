#pragma once
// One run of the upload worker over the command line's files: the files queued in the
// upload list, "Загрузить" clicked, the UI thread drained by the calling thread until
// the run ends; each recorded image printed, the run reported on standard error.
#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_program.h"
#include "cli/progress_report.h"

namespace cvu::cli {

class UploadSession {
 public:
  UploadSession(const CliOptions& options, CliProgram& program, std::ostream& out, ProgressReport& report);
  UploadSession(const UploadSession&) = delete;
  UploadSession& operator=(const UploadSession&) = delete;

  // Uploads the files in order; returns 0 when every one was uploaded and recorded,
  // else 1.
  int run(const std::vector<std::string>& files);

 private:
  using Clock = std::chrono::steady_clock;

  struct FileEntry {
    std::string given;  // as on the command line
    std::string path;   // absolute, as the upload list holds it
    std::uint64_t size = 0;
    double fraction = 0;  // the most of its body seen sent
    Clock::time_point started{};
    bool startSeen = false;
    bool recorded = false;
  };

  void queueFiles(const std::vector<std::string>& files);
  void onLogLine(const std::string& line);
  void onRecorded();
  void printRecord(const FileEntry& file, int runIndex);
  int current() const;
  void follow();
  void markStarted(int index);
  FileProgress progressOf(int index) const;
  void waitForEnd();
  int finish();

  const CliOptions& options_;
  CliProgram& program_;
  std::ostream& out_;
  ProgressReport& report_;
  std::vector<FileEntry> queued_;
  int skipped_ = 0;  // not sent: no image file by their extension
  int done_ = 0;     // files reported done
  int fullCount_ = 0;
  Clock::time_point runStarted_{};
};

}  // namespace cvu::cli
