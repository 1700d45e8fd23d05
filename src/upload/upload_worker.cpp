#include "upload/upload_worker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/identity.h"
#include "common/text.h"
#include "common/timestamp.h"
#include "http/http_client.h"
#include "http/http_error.h"
#include "http/session.h"
#include "links/templates.h"
#include "upload/fetch_upload_result.h"
#include "upload/upload_options.h"
#include "upload/upload_progress.h"

namespace cvu {
namespace {

constexpr const char* kStartCaption = "Загрузить";
constexpr const char* kStopCaption = "Остановить загрузку";
constexpr const char* kSeparator = "============";
// U+FFFD, what a name that is not UTF-8 becomes when it passes through text.
constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";

// " \"name\" ": the file name as the log lines quote it.
std::string NameArgument(const std::string& path) { return " \"" + LastPathComponent(path) + "\" "; }

void AdvanceFullBar(StoreContext& ctx, int steps) {
  ProgressBar& bar = ctx.main.CVU_PBarFull();
  bar.setPosition(bar.position() + steps);
}

// UI thread: the group of this run appears on the history page.
void OpenGroup(StoreContext& ctx) {
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

// UI thread: the run is over; a run that never opened a group touches no group.
void EndGroup(StoreContext& ctx, int remainingAtStop) {
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
  ctx.AddLogLine(kSeparator, "");
  ctx.AddLogLine("Изображения загружены", "");
  s.Uploading = false;
  if (s.GroupOpen) {
    try {
      CopyGroupText(ctx, m.CVU_AutoAction().itemIndex(), s.GroupNumber);
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
}

// UI thread: entries remain; the group shows how far it is.
void ShowGroupProgress(StoreContext& ctx) {
  UploadState& s = ctx.upload;
  const int done = s.GroupTotal - ctx.main.CVU_UploadTable().count();
  const std::string progress = "Изображений загружено: " + std::to_string(done) + " из " + std::to_string(s.GroupTotal);
  if (s.GroupOpen) ctx.main.CV_Links_Table().setGroupSubtitle(s.GroupNumber, progress);
  if (ctx.main.CVU_TitleInfo().checked()) ctx.main.frame().setCaption(progress + " — " + kProductCaption);
}

void RemoveHead(StoreContext& ctx) {
  ListBox& list = ctx.main.CVU_UploadTable();
  if (list.count() > 0) list.removeLine(0);
}

// What one upload request needs, read on the UI thread.
struct UploadInputs {
  UploadOptionValues options;
  AccountValues account;
  bool anonymous = false;
  int groupNumber = 0;
};

UploadInputs ReadInputs(StoreContext& ctx) {
  UploadInputs in;
  if (ctx.upOptions) in.options = ReadUploadOptions(*ctx.upOptions);
  in.account = ctx.account;
  in.anonymous = ctx.account.user_name != "Anonymous" && ctx.main.CVU_SendAnonymous().checked();
  in.groupNumber = ctx.upload.GroupNumber;
  return in;
}

// What a worker reads on the UI thread before it starts: the head of the upload list,
// whether the run was stopped, and what the request needs.
struct HeadRead {
  bool any = false;
  bool stopped = false;
  std::string path;
  UploadInputs in;
};

// UI thread.
HeadRead ReadHead(StoreContext& ctx) {
  HeadRead head;
  head.any = ctx.main.CVU_UploadTable().count() > 0;
  if (head.any) head.path = ctx.main.CVU_UploadTable().line(0);
  head.stopped = !ctx.upload.Uploading || ctx.uploadWorkers.closing();
  if (head.any && !head.stopped) head.in = ReadInputs(ctx);
  return head;
}

void StartWorkerOn(StoreContext& ctx, HeadRead head);

// Worker thread: the file is done (its last bar step and the removal of its entry
// come first); either the next worker or the group end. The same hand-over reads the
// next worker's head, so the next file does not wait for the window a second time.
void ContinueOrEnd(StoreContext& ctx, int remainingAtStop, int finalSteps, bool removeHead) {
  HeadRead next;
  ctx.ui.invoke([&] {
    if (finalSteps > 0) AdvanceFullBar(ctx, finalSteps);
    if (removeHead) RemoveHead(ctx);
    if (ctx.main.CVU_UploadTable().count() > 0) {
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

void MissingFile(StoreContext& ctx, const std::string& path) {
  // The name goes in as the argument, so a "%" in it is kept. A name that came in as text
  // with characters the file system name could not be shown in is not called missing.
  if (path.find(kReplacementCharacter) != std::string::npos) {
    ctx.AddLogLine("Не удалось прочитать имя файла \"%\"", LastPathComponent(path));
  } else {
    ctx.AddLogLine("Файл \"%\" не существует", LastPathComponent(path));
  }
  HeadRead next;
  ctx.ui.invoke([&] {
    AdvanceFullBar(ctx, 2);
    RemoveHead(ctx);
    if (ctx.upload.GroupTotal > 0) --ctx.upload.GroupTotal;
    if (ctx.main.CVU_UploadTable().count() > 0) {
      next = ReadHead(ctx);
    } else {
      EndGroup(ctx, 0);
    }
  });
  if (!next.any) return;
  ctx.AddLogLine(kSeparator, "");
  StartWorkerOn(ctx, std::move(next));
}

MultipartForm UploadForm(const UploadOptionValues& o, const std::string& path) {
  MultipartForm form;
  form.addText("quality", o.quality);
  form.addText("filter", o.filter);
  form.addText("thumbtext", o.thumbtext);
  form.addText("title", o.title);
  form.addText("album_id", o.album_id);
  form.addText("nod", o.nod);
  form.addText("published", o.published);
  form.addFile("imgfile[]", path, "image/png");
  return form;
}

// Only a regular file that can be opened is sent. The path is opened without
// blocking (a FIFO would wait for a writer for ever) and its kind is then checked on
// the open file, so a link to a device (/dev/zero streams without end) is refused too.
bool IsReadableRegularFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

// Empty when the file can be read; otherwise the reason.
std::string UnreadableReason(const std::string& path) {
  if (IsReadableRegularFile(path)) return "";
  return "Не удалось прочитать файл \"" + LastPathComponent(path) + "\"";
}

// Posts the file; returns the answer's Location (empty: not uploaded).
std::string PostFile(StoreContext& ctx, const std::string& path, const UploadInputs& in) {
  const std::string unreadable = UnreadableReason(path);
  if (!unreadable.empty()) {
    ctx.AddLogLine("%", unreadable);
    return "";
  }
  HttpClient client(ctx.http);
  client.setTransferEvents(ImageProgressEvents(ctx));
  MakeSession(client, in.anonymous, in.account);
  try {
    client.post("http://" + ServiceHost() + "//upload.html", UploadForm(in.options, path));
  } catch (const HttpError& e) {
    if (!IsUnloggedRedirect(e.what())) ctx.AddLogLine("%", e.what());
  }
  return client.location();
}

// Returns how far the overall bar still has to advance for this file (1 after an
// uploaded file's result, 0 otherwise); the caller adds it with the list's update.
int UploadFile(StoreContext& ctx, const std::string& path, const UploadInputs& in) {
  // Nothing here depends on the group, so it opens without the worker waiting for it.
  ctx.ui.post([&ctx] {
    if (!ctx.upload.GroupOpen) OpenGroup(ctx);
  });
  ctx.AddLogLine("Загружаю изображение%...", NameArgument(path));
  const std::string location = PostFile(ctx, path, in);
  if (location.empty()) {
    ctx.AddLogLine("Изображение% не загружено", NameArgument(path));
    return 0;
  }
  // Posted, not awaited: the queue keeps it in order with what follows.
  ctx.ui.post([&ctx] { AdvanceFullBar(ctx, 1); });
  ctx.AddLogLine("Изображение% загружено", NameArgument(path));
  ctx.AddLogLine("Ожидание ссылок...", "");
  FetchUploadResult(ctx, path, in.groupNumber, location, &in.account);
  return 1;
}

// UI thread: the upload was stopped (or the program is closing); the entries left are
// cleared and counted for the group's end.
int ClearAtStop(StoreContext& ctx) {
  const int remaining = ctx.main.CVU_UploadTable().count();
  ctx.main.CVU_UploadTable().clear();
  return remaining;
}

// One worker: handles the head of the upload list, as read by one hand-over (the
// entry, the stop and what the request needs together); a missing file is still
// reported before the stop takes effect. A program closing since the head was read
// stops it, too.
void RunWorker(StoreContext& ctx, const HeadRead& head) {
  if (!head.any) return;
  if (!IsExistingFile(head.path)) {
    MissingFile(ctx, head.path);
    return;
  }
  const bool stopped = head.stopped || ctx.uploadWorkers.closing();
  int remainingAtStop = 0;
  if (stopped) ctx.ui.invoke([&] { remainingAtStop = ClearAtStop(ctx); });
  const int finalSteps = stopped ? 0 : UploadFile(ctx, head.path, head.in);
  ContinueOrEnd(ctx, remainingAtStop, finalSteps, !stopped);
}

// The next worker, on the head its predecessor read in its last hand-over.
void StartWorkerOn(StoreContext& ctx, HeadRead head) {
  ctx.uploadWorkers.start([&ctx, head = std::move(head)] { RunWorker(ctx, head); });
}

}  // namespace

bool IsExistingFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

void StartUploadWorker(StoreContext& ctx) {
  ctx.uploadWorkers.start([&ctx] {
    HeadRead head;
    ctx.ui.invoke([&] { head = ReadHead(ctx); });
    RunWorker(ctx, head);
  });
}

void CVU_UploadBtnClick(StoreContext& ctx) {
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
  ctx.main.CVU_PBarFull().setRange(0, 2 * entries);
  ctx.main.CVU_PBarFull().setPosition(0);
  StartUploadWorker(ctx);
}

}  // namespace cvu
