#include "cli/upload_session.h"

#include <algorithm>
#include <filesystem>

#include "cli/record_output.h"
#include "common/text.h"
#include "upload/upload_list.h"
#include "upload/upload_worker.h"

namespace cvu::cli {

UploadSession::UploadSession(const CliOptions& options, CliProgram& program, std::ostream& out, ProgressReport& report)
    : options_(options), program_(program), out_(out), report_(report) {
  program_.main.logTap.onLine = [this](const std::string& line) { onLogLine(line); };
  program_.ctx.historyRecorded = [this] { onRecorded(); };
  // The run ends when the last worker has returned, which queues nothing: the drain
  // loop is woken for it rather than finding it at its next look.
  QueueUiThread& ui = program_.ui;
  program_.ctx.uploadWorkers.setOnIdle([&ui] { ui.wake(); });
}

// The upload list holds full paths, as a drop or the open-file dialog give them; a path
// that names no image by its extension is not sent, as a drop would not take it.
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
    program_.main.uploadQueue.addLine(entry.path);
    queued_.push_back(std::move(entry));
  }
}

// The position of the file in hand: the worker removes each file's entry when done.
int UploadSession::current() const { return static_cast<int>(queued_.size()) - program_.main.uploadQueue.count(); }

void UploadSession::markStarted(int index) {
  if (index >= static_cast<int>(queued_.size()) || queued_[index].startSeen) return;
  queued_[index].startSeen = true;
  queued_[index].started = Clock::now();
}

void UploadSession::onLogLine(const std::string& line) {
  const bool running = program_.ctx.upload.Uploading && current() < static_cast<int>(queued_.size());
  if (running) markStarted(current());
  report_.logLine(running ? current() : -1, line);
  // Files end between log lines: told at once rather than at the next look.
  if (running) follow();
}

// After AddHistoryRecord: the image is in the run history; its row was written when the
// full history, which mirrors the table, gained it.
void UploadSession::onRecorded() {
  const HistoryList& run = program_.ctx.history.RunHistory;
  const HistoryList& full = program_.ctx.history.FullHistory;
  const int runIndex = run.count() - 1;
  const bool written = full.count() > fullCount_ && full.at(full.count() - 1).image_id == run.at(runIndex).image_id;
  fullCount_ = full.count();
  const int index = current();
  if (!written || index >= static_cast<int>(queued_.size())) return;
  queued_[index].recorded = true;
  queued_[index].fraction = 1;
  printRecord(queued_[index], runIndex);
}

void UploadSession::printRecord(const FileEntry& file, int runIndex) {
  StoreContext& ctx = program_.ctx;
  report_.beforeOutput();
  if (options_.json) {
    out_ << RecordJson(ctx, runIndex, file.given) << '\n';
  } else {
    out_ << AsOutputText(RecordText(ctx, options_.format, runIndex)) << '\n';
  }
  out_.flush();
}

FileProgress UploadSession::progressOf(int index) const {
  const FileEntry& f = queued_[index];
  const double seconds = f.startSeen ? std::chrono::duration<double>(Clock::now() - f.started).count() : 0;
  return {index, static_cast<int>(queued_.size()), LastPathComponent(f.path), f.size, f.fraction, seconds};
}

// Reports the files finished since the last look, and the one in hand.
void UploadSession::follow() {
  const int now = std::min(current(), static_cast<int>(queued_.size()));
  for (; done_ < now; ++done_) report_.fileDone(progressOf(done_), queued_[done_].recorded);
  if (now >= static_cast<int>(queued_.size()) || !program_.ctx.upload.Uploading) return;
  markStarted(now);
  const ProgressBar& bar = program_.main.pbarImage;
  if (bar.maximum() > 0) {
    const double sent = static_cast<double>(bar.position()) / bar.maximum();
    queued_[now].fraction = std::max(queued_[now].fraction, std::min(sent, 1.0));
  }
  report_.progress(progressOf(now));
}

void UploadSession::waitForEnd() {
  AppContext& ctx = program_.ctx;
  const auto ended = [&ctx] { return !ctx.upload.Uploading && ctx.uploadWorkers.idle(); };
  while (!program_.ui.runUntil(ended, std::chrono::milliseconds(100))) follow();
  program_.ui.drain();
}

int UploadSession::finish() {
  follow();
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

int UploadSession::run(const std::vector<std::string>& files) {
  runStarted_ = Clock::now();
  fullCount_ = program_.ctx.history.FullHistory.count();
  queueFiles(files);
  if (!queued_.empty()) {
    CVU_UploadBtnClick(program_.ctx);
    waitForEnd();
  }
  return finish();
}

}  // namespace cvu::cli
