#include "cli/parallel_upload.h"

#include <memory>
#include <utility>

#include "common/log.h"
#include "store/history_store.h"
#include "upload/upload_options.h"

namespace cvu::cli {
namespace {

constexpr const char* kSeparator = "============";
// How far past the first unfinished file the workers may go, in files per worker: a
// slow file holds back only the output, not the others' uploads, while what the done
// files keep for their turn stays bounded by the number of workers.
constexpr int kFilesAheadPerWorker = 16;
// Byte counts posted per transfer at most.
constexpr std::int64_t kProgressSteps = 200;

}  // namespace

// One file's steps, on its worker: log lines stamped now and handed to the UI thread in
// order; the listener told what it follows live.
class ParallelUpload::Steps : public FileUploadSteps {
 public:
  Steps(ParallelUpload& run, int file) : run_(run), file_(file) {}

  void log(const std::string& message, const std::string& argument) override {
    std::string line = FormatLogLine(run_.ctx_.clock.now(), message, argument);
    run_.ui_.post([&run = run_, file = file_, line = std::move(line)]() mutable { run.onLine(file, std::move(line)); });
  }

  void sending() override {
    run_.ui_.post([&run = run_, file = file_] { run.listener_.started(file, run.paths_[file]); });
  }

  TransferEvents transferEvents() override {
    struct Sent {
      std::int64_t total = -1, step = 1, posted = 0;
    };
    auto sent = std::make_shared<Sent>();
    TransferEvents events;
    events.begin = [sent](TransferDirection direction, std::int64_t expected) {
      if (direction == TransferDirection::Send) *sent = {expected, expected > 0 ? expected / kProgressSteps + 1 : 1, 0};
    };
    events.progress = [&run = run_, file = file_, sent](TransferDirection direction, std::int64_t soFar) {
      if (direction != TransferDirection::Send || soFar - sent->posted < sent->step) return;
      sent->posted = soFar;
      run.ui_.post([&run, file, soFar, total = sent->total] { run.listener_.bytesSent(file, soFar, total); });
    };
    return events;
  }

  void uploaded() override {
    run_.ui_.post([&run = run_, file = file_] { run.listener_.uploaded(file); });
  }

 private:
  ParallelUpload& run_;
  int file_;
};

ParallelUpload::ParallelUpload(UploadContext& ctx, QueueUiThread& ui, std::vector<std::string> paths, int jobs,
                               Listener& listener)
    : ctx_(ctx), ui_(ui), paths_(std::move(paths)), jobs_(jobs < 1 ? 1 : jobs), listener_(listener) {
  files_.resize(paths_.size());
}

ParallelUpload::~ParallelUpload() {
  stop();
  abort();
  for (auto& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
}

void ParallelUpload::stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  turn_.notify_all();
}

void ParallelUpload::abort() {
  if (ctx_.http.abort) ctx_.http.abort->abort();
}

int ParallelUpload::taken() const {
  std::lock_guard lock(mutex_);
  return next_;
}

// As the window reads them for each file; the command line's do not change during a run.
void ParallelUpload::readInputs() {
  if (ctx_.upOptions) inputs_.options = ReadUploadOptions(*ctx_.upOptions);
  inputs_.account = ctx_.account;
  inputs_.anonymous = ctx_.account.user_name != "Anonymous" && ctx_.main.CVU_SendAnonymous().checked();
}

void ParallelUpload::run() {
  readInputs();
  ctx_.upload.Uploading = true;
  ctx_.db.useWriteAheadLog();  // the records of the run are committed without syncs
  const int workers = std::min<int>(jobs_, static_cast<int>(paths_.size()));
  working_ = workers;
  running_ = true;
  for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { work(); });
  while (!ui_.runUntil([this] { return over(); }, std::chrono::seconds(1))) {
  }
  for (auto& worker : workers_) worker.join();
  workers_.clear();
  running_ = false;
  const UploadState& s = ctx_.upload;
  if (s.FilesUploaded < s.FilesTaken) {
    logOfRun("Не загружено изображений: " + std::to_string(s.FilesTaken - s.FilesUploaded) + " из " +
             std::to_string(s.FilesTaken));
  }
  logOfRun(kSeparator);
  logOfRun("Изображения загружены");
  ctx_.upload.Uploading = false;
  ctx_.db.syncToDisk();
  listener_.groupEnded(ctx_.upload.FilesTaken, ctx_.upload.FilesUploaded);
}

bool ParallelUpload::over() const {
  std::lock_guard lock(mutex_);
  return working_ == 0 && head_ == next_;
}

bool ParallelUpload::mayTake(int file) const { return file < head_ + jobs_ * kFilesAheadPerWorker; }

void ParallelUpload::work() {
  for (;;) {
    int file = 0;
    {
      std::unique_lock lock(mutex_);
      const int count = static_cast<int>(paths_.size());
      turn_.wait(lock, [&] { return stopped_ || next_ >= count || mayTake(next_); });
      if (stopped_ || next_ >= count) break;
      file = next_++;
    }
    send(file);
  }
  {
    std::lock_guard lock(mutex_);
    --working_;
  }
  ui_.wake();
}

void ParallelUpload::send(int file) {
  Steps steps(*this, file);
  const std::string& path = paths_[file];
  if (!IsExistingFile(path)) {
    LogMissingFile(path, steps);
    ui_.post([this, file] { onDone(file, true, {}); });
    return;
  }
  FileUploadRequest request = inputs_;
  request.path = path;
  FileUploadResult result = UploadOneFile(request, ctx_.http, steps);
  ui_.post([this, file, result = std::move(result)]() mutable { onDone(file, false, std::move(result)); });
}

void ParallelUpload::onLine(int file, std::string line) {
  if (file == head_) {
    tellLine(file, line);
  } else {
    files_[file].lines.push_back(std::move(line));
  }
}

void ParallelUpload::onDone(int file, bool missing, FileUploadResult result) {
  FileState& f = files_[file];
  f.done = true;
  f.missing = missing;
  f.result = std::move(result);
  while (head_ < static_cast<int>(files_.size()) && files_[head_].done) finishHead();
}

// The first unfinished file is done: its record, its outcome told, then the next file's
// turn with the lines it wrote meanwhile.
void ParallelUpload::finishHead() {
  tellOutcome(head_);
  separatorDue_ = true;
  {
    std::lock_guard lock(mutex_);
    ++head_;
  }
  turn_.notify_all();
  if (head_ < static_cast<int>(files_.size())) {
    for (const auto& line : files_[head_].lines) tellLine(head_, line);
    files_[head_].lines.clear();
  }
}

void ParallelUpload::tellOutcome(int file) {
  FileState& f = files_[file];
  UploadState& s = ctx_.upload;
  ++s.FilesTaken;
  if (f.missing) return listener_.notUploaded(file, paths_[file], NotUploadedReason::Missing);
  const auto outcome = f.result.outcome;
  if (outcome == FileUploadOutcome::Unreadable) {
    return listener_.notUploaded(file, paths_[file], NotUploadedReason::Unreadable);
  }
  if (outcome == FileUploadOutcome::NotUploaded) {
    return listener_.notUploaded(file, paths_[file], NotUploadedReason::Refused);
  }
  ++s.FilesUploaded;
  if (outcome == FileUploadOutcome::NoLinks) return listener_.linksNotFound(file);
  listener_.linksFetched(file);
  const UploadResultIds& ids = f.result.ids;
  // The record's own lines (a refused row) belong to this file: it is still the head.
  const bool stored =
      AddHistoryRecord(ctx_, paths_[file], s.GroupNumber, ids.imageId, ids.folderId, ids.imageName, ids.thumbName);
  listener_.recorded(file, ctx_.history.RunHistory.count() - 1, stored);
}

// A file's line; the first of a file after another is preceded by the line between files.
void ParallelUpload::tellLine(int file, const std::string& line) {
  if (std::exchange(separatorDue_, false)) logOfRun(kSeparator);
  listener_.logLine(file, line);
}

void ParallelUpload::logOfRun(const std::string& message) {
  listener_.logLine(-1, FormatLogLine(ctx_.clock.now(), message, ""));
}

}  // namespace cvu::cli
