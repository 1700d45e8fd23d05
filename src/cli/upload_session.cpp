#include "cli/upload_session.h"

#include <algorithm>
#include <filesystem>

#include "cli/record_output.h"
#include "common/text.h"
#include "upload/upload_list.h"

namespace cvu::cli {

UploadSession::UploadSession(const CliOptions& options, CliProgram& program, std::ostream& out, ProgressReport& report)
    : options_(options), program_(program), out_(out), report_(report) {
  // Lines logged outside the run (the history's, before it) are the run's own.
  program_.main.logTap.onLine = [this](const std::string& line) { report_.logLine(-1, line); };
  // The texts go to standard output; the history page has nothing to show.
  program_.ctx.historyRecorded = nullptr;
}

// A path that names no image by its extension is not sent, as a drop would not take it.
// The others are sent by their absolute path, as a drop or the open-file dialog give them.
void UploadSession::queueFiles(const std::vector<std::string>& files) {
  for (const auto& given : files) {
    if (!HasImageExtension(given)) {
      ++skipped_;
      report_.logLine(-1, "corvane-upload: " + given + " is not sent: not an image (.jpg, .jpeg, .png, .gif)");
      continue;
    }
    std::error_code ec;
    FileEntry entry{given, std::filesystem::absolute(given, ec).lexically_normal().string()};
    if (ec) entry.path = given;
    const auto size = std::filesystem::file_size(entry.path, ec);
    entry.size = ec ? 0 : size;
    queued_.push_back(std::move(entry));
  }
}

void UploadSession::logLine(int file, const std::string& line) { report_.logLine(file, line); }

void UploadSession::started(int file, const std::string&) {
  FileEntry& f = queued_[file];
  f.startSeen = true;
  f.started = Clock::now();
  report_.progress(progressOf(file));
}

void UploadSession::bytesSent(int file, std::int64_t sent, std::int64_t total) {
  FileEntry& f = queued_[file];
  const double whole = total > 0 ? static_cast<double>(total) : static_cast<double>(f.size);
  if (whole > 0) f.fraction = std::max(f.fraction, std::min(static_cast<double>(sent) / whole, 1.0));
  report_.progress(progressOf(file));
}

void UploadSession::uploaded(int file) {
  queued_[file].fraction = 1;
  report_.progress(progressOf(file));
}

void UploadSession::recorded(int file, int runIndex, bool stored) {
  if (stored) {
    queued_[file].recorded = true;
    printRecord(queued_[file], runIndex);
  }
  done(file, stored);
}

void UploadSession::linksNotFound(int file) { done(file, false); }

void UploadSession::notUploaded(int file, const std::string&, NotUploadedReason) { done(file, false); }

void UploadSession::done(int file, bool recorded) { report_.fileDone(progressOf(file), recorded); }

void UploadSession::printRecord(const FileEntry& file, int runIndex) {
  const HistoryRecord record = program_.ctx.history.RunHistory.at(runIndex);
  report_.beforeOutput();
  if (options_.json) {
    out_ << RecordJson(record, ownCodes_, file.given) << '\n';
  } else {
    out_ << AsOutputText(RecordText(record, options_.format, ownCodes_)) << '\n';
  }
  out_.flush();
}

FileProgress UploadSession::progressOf(int index) const {
  const FileEntry& f = queued_[index];
  const double seconds = f.startSeen ? std::chrono::duration<double>(Clock::now() - f.started).count() : 0;
  return {index, static_cast<int>(queued_.size()), LastPathComponent(f.path), f.size, f.fraction, seconds};
}

int UploadSession::finish() {
  const double seconds = std::chrono::duration<double>(Clock::now() - runStarted_).count();
  int recorded = 0;
  std::uint64_t bytes = 0;
  for (const auto& f : queued_) {
    if (!f.recorded) continue;
    ++recorded;
    bytes += f.size;
  }
  const int total = static_cast<int>(queued_.size()) + skipped_;
  report_.finished(recorded, total, bytes, seconds);
  return recorded == total ? 0 : 1;
}

int UploadSession::run(const std::vector<std::string>& files, StopRequests& stops) {
  runStarted_ = Clock::now();
  MainControls& main = program_.main;
  ownCodes_ = {main.CVU_MYV1().text(), main.CVU_MYV2().text(), main.CVU_MYV3().text()};
  queueFiles(files);
  if (!queued_.empty()) {
    std::vector<std::string> paths;
    for (const auto& f : queued_) paths.push_back(f.path);
    ParallelUpload upload(program_.ctx, program_.ui, std::move(paths), options_.jobs, *this);
    program_.main.logTap.onLine = [this, &upload](const std::string& line) {
      report_.logLine(upload.currentFile(), line);
    };
    stops.listen([&upload](int count) { count == 1 ? upload.stop() : upload.abort(); });
    upload.run();
    stops.stopListening();
    program_.main.logTap.onLine = [this](const std::string& line) { report_.logLine(-1, line); };
  }
  return finish();
}

}  // namespace cvu::cli
