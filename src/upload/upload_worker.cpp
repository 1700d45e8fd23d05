#include "upload/upload_worker.h"

#include <string>
#include <utility>

#include "common/identity.h"
#include "common/timestamp.h"
#include "links/templates.h"
#include "store/history_store.h"
#include "upload/file_upload.h"
#include "upload/upload_options.h"
#include "upload/upload_progress.h"

namespace cvu {
namespace {

constexpr const char* kSeparator = "============";

void AdvanceFullBar(UploadContext& ctx, int steps) {
  ProgressBar& bar = ctx.main.CVU_PBarFull();
  bar.setPosition(bar.position() + steps);
}

// UI thread: the group of this run appears on the history page.
void OpenGroup(UploadContext& ctx) {
  MainControls& m = ctx.main;
  m.CVU_OpenFilesBtn().setEnabled(false);
  m.CVU_EffBtn().setEnabled(false);
  m.N10().setEnabled(false);
  UploadState& s = ctx.upload;
  s.GroupTotal = m.CVU_UploadTable().count();
  const std::string header =
      "Группа " + std::to_string(s.GroupNumber + 1) + " (" + FormatTimestamp(ctx.clock.now()) + ")";
  m.CV_Links_Table().addGroup(s.GroupNumber, header);
  m.CV_Links_Table().setGroupSubtitle(s.GroupNumber, "Изображений загружено: 0 из " + std::to_string(s.GroupTotal));
  s.GroupOpen = true;
}

// The entries of the upload list the run has not taken yet.
int EntriesLeft(UploadContext& ctx) { return ctx.main.CVU_UploadTable().count() - ctx.upload.FailedKept; }

// UI thread: the run is over; a run that never opened a group touches no group. When
// files were not uploaded, the log says how many before its closing lines; those that
// exist stay listed.
void EndGroup(UploadContext& ctx, int remainingAtStop) {
  MainControls& m = ctx.main;
  UploadState& s = ctx.upload;
  m.CVU_OpenFilesBtn().setEnabled(true);
  m.CVU_UploadBtn().setEnabled(true);
  m.CVU_EffBtn().setEnabled(true);
  m.N10().setEnabled(true);
  m.CVU_UploadBtn().setCaption(kStartCaption);
  if (m.CVU_TitleInfo().checked()) m.frame().setCaption(kProductCaption);
  if (s.GroupOpen) {
    m.CV_Links_Table().setGroupSubtitle(s.GroupNumber,
                                        "Изображений: " + std::to_string(s.GroupTotal - remainingAtStop) +
                                            ", Загружено: " + FormatTimestamp(ctx.clock.now()));
  }
  if (s.FilesUploaded < s.FilesTaken) {
    ctx.AddLogLine("Не загружено изображений: %",
                   std::to_string(s.FilesTaken - s.FilesUploaded) + " из " + std::to_string(s.FilesTaken));
  }
  ctx.AddLogLine(kSeparator, "");
  ctx.AddLogLine("Изображения загружены", "");
  s.Uploading = false;
  if (s.GroupOpen) {
    try {
      CopyGroupText(m, ctx.history, ctx.clipboard, m.CVU_AutoAction().itemIndex(), s.GroupNumber);
    } catch (const std::exception& e) {
      // The clipboard may be held by another program; the upload itself is done.
      ctx.AddLogLine("%", e.what());
    }
    ++s.GroupNumber;
    s.GroupOpen = false;
  }
  ctx.db.syncToDisk();  // the group's records reach the disk now, not only at close
  m.CVU_PBarFull().setRange(0, 0);
  m.CVU_PBarFull().setPosition(0);
  if (ctx.uploadEvents) ctx.uploadEvents->groupEnded(s.FilesTaken, s.FilesUploaded);
}

// UI thread: entries remain; the group shows how far it is.
void ShowGroupProgress(UploadContext& ctx) {
  UploadState& s = ctx.upload;
  const int done = s.GroupTotal - EntriesLeft(ctx);
  const std::string progress = "Изображений загружено: " + std::to_string(done) + " из " + std::to_string(s.GroupTotal);
  if (s.GroupOpen) ctx.main.CV_Links_Table().setGroupSubtitle(s.GroupNumber, progress);
  if (ctx.main.CVU_TitleInfo().checked()) ctx.main.frame().setCaption(progress + " — " + kProductCaption);
}

// The file in hand is done with: a file that was not uploaded stays listed.
void RemoveHead(UploadContext& ctx, bool keep = false) {
  if (EntriesLeft(ctx) <= 0) return;
  if (keep) {
    ++ctx.upload.FailedKept;
  } else {
    ctx.main.CVU_UploadTable().removeLine(ctx.upload.FailedKept);
  }
}

// What a worker reads on the UI thread before it starts: the head of the upload list,
// whether the run was stopped, and what the request needs.
struct HeadRead {
  bool any = false;
  bool stopped = false;
  int file = 0;  // the head's position in the run
  int groupNumber = 0;
  FileUploadRequest request;
};

// UI thread.
HeadRead ReadHead(UploadContext& ctx) {
  HeadRead head;
  head.any = EntriesLeft(ctx) > 0;
  head.stopped = !ctx.upload.Uploading || ctx.uploadWorkers.closing();
  if (!head.any) return head;
  head.file = ctx.upload.FilesTaken;
  head.groupNumber = ctx.upload.GroupNumber;
  FileUploadRequest& r = head.request;
  r.path = ctx.main.CVU_UploadTable().line(ctx.upload.FailedKept);
  if (head.stopped) return head;
  if (ctx.upOptions) r.options = ReadUploadOptions(*ctx.upOptions);
  r.account = ctx.account;
  r.anonymous = ctx.account.user_name != "Anonymous" && ctx.main.CVU_SendAnonymous().checked();
  return head;
}

// The window's side of one file's upload: the group opens as the file is sent, the
// bars follow the transfer, and whoever follows the run is told each step.
class WindowSteps : public FileUploadSteps {
 public:
  WindowSteps(UploadContext& ctx, const HeadRead& head) : ctx_(ctx), head_(head) {}

  void log(const std::string& message, const std::string& argument) override { ctx_.AddLogLine(message, argument); }

  // Nothing here depends on the group, so it opens without the worker waiting for it.
  void sending() override {
    ctx_.ui.post([&ctx = ctx_, file = head_.file, path = head_.request.path] {
      if (!ctx.upload.GroupOpen) OpenGroup(ctx);
      ++ctx.upload.FilesTaken;
      if (ctx.uploadEvents) ctx.uploadEvents->started(file, path);
    });
  }

  TransferEvents transferEvents() override {
    return ImageProgressEvents(ctx_.ui, ctx_.main.CVU_PBarImage(), ctx_.uploadEvents, head_.file);
  }

  // Posted, not awaited: the queue keeps it in order with what follows.
  void uploaded() override {
    ctx_.ui.post([&ctx = ctx_, file = head_.file] {
      AdvanceFullBar(ctx, 1);
      ++ctx.upload.FilesUploaded;
      if (ctx.uploadEvents) ctx.uploadEvents->uploaded(file);
    });
  }

 private:
  UploadContext& ctx_;
  const HeadRead& head_;
};

// Posted, not awaited: the worker's next step is a hand-over that waits on the same
// queue, so the record exists before the group's end reads it.
void RecordUpload(UploadContext& ctx, const HeadRead& head, const UploadResultIds& ids) {
  ctx.ui.post([&ctx, file = head.file, path = head.request.path, group = head.groupNumber, ids] {
    if (ctx.uploadEvents) ctx.uploadEvents->linksFetched(file);
    const bool stored = AddHistoryRecord(ctx, path, group, ids.imageId, ids.folderId, ids.imageName, ids.thumbName);
    if (ctx.uploadEvents) ctx.uploadEvents->recorded(file, ctx.history.RunHistory.count() - 1, stored);
  });
}

// Tells whoever follows the run how the file ended, when it was not recorded.
void TellUnrecorded(UploadContext& ctx, const HeadRead& head, FileUploadOutcome outcome) {
  if (ctx.uploadEvents == nullptr) return;
  ctx.ui.post([&ctx, file = head.file, path = head.request.path, outcome] {
    if (outcome == FileUploadOutcome::NoLinks) {
      ctx.uploadEvents->linksNotFound(file);
    } else {
      const auto why =
          outcome == FileUploadOutcome::Unreadable ? NotUploadedReason::Unreadable : NotUploadedReason::Refused;
      ctx.uploadEvents->notUploaded(file, path, why);
    }
  });
}

// What becomes of the file in hand once it is done with.
struct HeadEnd {
  int barSteps = 0;   // how far the overall bar still advances for it
  bool kept = false;  // it stays listed: it exists but was not uploaded
};

// Sends the head; an uploaded file has one more bar step, its result's.
HeadEnd UploadHead(UploadContext& ctx, const HeadRead& head) {
  WindowSteps steps(ctx, head);
  const FileUploadResult result = UploadOneFile(head.request, ctx.http, steps);
  if (result.outcome == FileUploadOutcome::LinksFetched) {
    RecordUpload(ctx, head, result.ids);
  } else {
    TellUnrecorded(ctx, head, result.outcome);
  }
  const bool uploaded =
      result.outcome == FileUploadOutcome::LinksFetched || result.outcome == FileUploadOutcome::NoLinks;
  return uploaded ? HeadEnd{1, false} : HeadEnd{0, true};
}

void StartWorkerOn(UploadContext& ctx, HeadRead head);

// Worker thread: the file is done (its last bar step and the removal of its entry
// come first; end is null after a stop); either the next worker or the group end. The same hand-over reads the
// next worker's head, so the next file does not wait for the window a second time.
void ContinueOrEnd(UploadContext& ctx, int remainingAtStop, const HeadEnd* end) {
  HeadRead next;
  ctx.ui.invoke([&] {
    if (end != nullptr) {
      if (end->barSteps > 0) AdvanceFullBar(ctx, end->barSteps);
      RemoveHead(ctx, end->kept);
    }
    if (EntriesLeft(ctx) > 0) {
      ShowGroupProgress(ctx);
      next = ReadHead(ctx);
    } else {
      EndGroup(ctx, remainingAtStop);
    }
  });
  if (!next.any) return;
  ctx.AddLogLine(kSeparator, "");
  StartWorkerOn(ctx, std::move(next));
}

// Logs the log lines of a file that is not there straight to the activity log.
struct LogOnly : FileUploadSteps {
  explicit LogOnly(UploadContext& c) : ctx(c) {}
  void log(const std::string& message, const std::string& argument) override { ctx.AddLogLine(message, argument); }
  UploadContext& ctx;
};

void MissingFile(UploadContext& ctx, const HeadRead& head) {
  LogOnly steps(ctx);
  LogMissingFile(head.request.path, steps);
  HeadRead next;
  ctx.ui.invoke([&] {
    AdvanceFullBar(ctx, 2);
    RemoveHead(ctx);
    if (ctx.upload.GroupTotal > 0) --ctx.upload.GroupTotal;
    ++ctx.upload.FilesTaken;
    if (ctx.uploadEvents) ctx.uploadEvents->notUploaded(head.file, head.request.path, NotUploadedReason::Missing);
    if (EntriesLeft(ctx) > 0) {
      next = ReadHead(ctx);
    } else {
      EndGroup(ctx, 0);
    }
  });
  if (!next.any) return;
  ctx.AddLogLine(kSeparator, "");
  StartWorkerOn(ctx, std::move(next));
}

// UI thread: the upload was stopped (or the program is closing); the entries not taken
// are cleared and counted for the group's end. Those kept for failing stay.
int ClearAtStop(UploadContext& ctx) {
  const int remaining = EntriesLeft(ctx);
  ListBox& list = ctx.main.CVU_UploadTable();
  if (ctx.upload.FailedKept == 0) {
    list.clear();
  } else {
    for (int i = list.count() - 1; i >= ctx.upload.FailedKept; --i) list.removeLine(i);
  }
  return remaining;
}

// One worker: handles the head of the upload list, as read by one hand-over (the
// entry, the stop and what the request needs together); a missing file is still
// reported before the stop takes effect. A program closing since the head was read
// stops it, too.
void RunWorker(UploadContext& ctx, const HeadRead& head) {
  if (!head.any) return;
  if (!IsExistingFile(head.request.path)) {
    MissingFile(ctx, head);
    return;
  }
  if (head.stopped || ctx.uploadWorkers.closing()) {
    int remainingAtStop = 0;
    ctx.ui.invoke([&] { remainingAtStop = ClearAtStop(ctx); });
    return ContinueOrEnd(ctx, remainingAtStop, nullptr);
  }
  const HeadEnd end = UploadHead(ctx, head);
  ContinueOrEnd(ctx, 0, &end);
}

// The next worker, on the head its predecessor read in its last hand-over.
void StartWorkerOn(UploadContext& ctx, HeadRead head) {
  ctx.uploadWorkers.start([&ctx, head = std::move(head)] { RunWorker(ctx, head); });
}

}  // namespace

void StartUploadWorker(UploadContext& ctx) {
  ctx.uploadWorkers.start([&ctx] {
    HeadRead head;
    ctx.ui.invoke([&] { head = ReadHead(ctx); });
    RunWorker(ctx, head);
  });
}

void CVU_UploadBtnClick(UploadContext& ctx) {
  Button& button = ctx.main.CVU_UploadBtn();
  if (button.caption() != kStartCaption) {
    button.setEnabled(false);
    ctx.upload.Uploading = false;
    return;
  }
  const int entries = ctx.main.CVU_UploadTable().count();
  if (entries == 0) {
    ctx.AddLogLine("Не выбраны файлы для загрузки", "");
    return;
  }
  if (ctx.upload.Uploading) return;
  ctx.db.useWriteAheadLog();  // the records of the run are committed without syncs
  button.setCaption(kStopCaption);
  ctx.upload.Uploading = true;
  ctx.upload.FilesTaken = 0;
  ctx.upload.FilesUploaded = 0;
  ctx.upload.FailedKept = 0;
  ctx.main.CVU_PBarFull().setRange(0, 2 * entries);
  ctx.main.CVU_PBarFull().setPosition(0);
  StartUploadWorker(ctx);
}

}  // namespace cvu
