#pragma once
// One run of corvane-upload over its files: the files that name images sent (ParallelUpload),
// each recorded image's text printed on standard output in input order, and the run
// reported on standard error as it goes.
#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_program.h"
#include "cli/parallel_upload.h"
#include "cli/progress_report.h"
#include "cli/record_output.h"
#include "cli/stop_requests.h"

namespace cvu::cli {

class UploadSession : public ParallelUpload::Listener {
 public:
  UploadSession(const CliOptions& options, CliProgram& program, std::ostream& out, ProgressReport& report);
  UploadSession(const UploadSession&) = delete;
  UploadSession& operator=(const UploadSession&) = delete;

  // Uploads the files; returns 0 when every one was uploaded and recorded, else 1. A stop
  // requested meanwhile starts no further file, the second one ends those in flight.
  int run(const std::vector<std::string>& files, StopRequests& stops);

  // ParallelUpload::Listener.
  void logLine(int file, const std::string& line) override;
  void started(int file, const std::string& path) override;
  void bytesSent(int file, std::int64_t sent, std::int64_t total) override;
  void uploaded(int file) override;
  void recorded(int file, int runIndex, bool stored) override;
  void linksNotFound(int file) override;
  void notUploaded(int file, const std::string& path, NotUploadedReason why) override;

 private:
  using Clock = std::chrono::steady_clock;

  struct FileEntry {
    std::string given;  // as on the command line
    std::string path;   // absolute, as a drop or the open-file dialog give it
    std::uint64_t size = 0;
    double fraction = 0;  // of its body seen sent
    Clock::time_point started{};
    bool startSeen = false;
    bool recorded = false;
  };

  void queueFiles(const std::vector<std::string>& files);
  void printRecord(const FileEntry& file, int runIndex);
  FileProgress progressOf(int index) const;
  void done(int file, bool recorded);
  int finish();

  const CliOptions& options_;
  CliProgram& program_;
  std::ostream& out_;
  ProgressReport& report_;
  OwnCodes ownCodes_;  // as the settings row holds them
  std::vector<FileEntry> queued_;
  int skipped_ = 0;  // not sent: no image file by their extension
  Clock::time_point runStarted_{};
};

}  // namespace cvu::cli
