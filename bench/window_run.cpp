#include "window_run.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "app/single_instance.h"
#include "history_database.h"
#include "paste_keys.h"
#include "ping_client.h"

namespace cvu::bench {
namespace {

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

// Lets Qt answer the program's clipboard requests for up to 10 ms, sleeping while none
// come: a loop of plain processEvents() would keep one of the machine's two cores busy
// for the whole run, which the program then lacks and the libcurl loop does not.
void ServeEventsBriefly() {
  QEventLoop loop;
  QTimer::singleShot(10, &loop, &QEventLoop::quit);
  loop.exec();
}

void ProcessEventsFor(double seconds) {
  const auto start = SteadyClock::now();
  while (SecondsSince(start) < seconds) ServeEventsBriefly();
}

void PutFilesOnClipboard(const std::vector<std::string>& files) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const std::string& f : files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(f)));
  mime->setUrls(urls);                                        // text/uri-list, as a file manager's copy
  QGuiApplication::clipboard()->setMimeData(mime.release());  // the clipboard owns it
  ProcessEventsFor(0.2);
}

}  // namespace

void MakeAutoUploadDatabase(const std::string& path) {
  MakeHistoryDatabase(path, 0);
  ExecSql(path, "INSERT INTO CVU_DATA(wPosLeft, wPosTop, auto_upload, start_autoupload) VALUES(0, 0, 1, 1)");
}

std::string BuiltProgram() { return CVU_GUI_EXE; }

WindowRun::WindowRun(const GuiEnvironment& env, const std::string& database, const std::string& program)
    : watch_(env.display()) {
  std::filesystem::copy_file(database, this->database());
  const std::string dir = folder_.path().string();
  socket_ = cvu::SingleInstance::serverName(QString::fromStdString(dir)).toStdString();
  child_ = std::make_unique<ChildProcess>(ChildSetup{{program}, dir, env.variables(), folder_.file("output.txt"), -1});
  while (SecondsSince(child_->started()) < 60) {
    QGuiApplication::processEvents();
    Check(child_->running(), "the program ended while starting");
    const auto window = watch_.mapped(child_->pid());
    if (window && Ping(socket_, 30000)) {
      window_ = *window;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  throw std::runtime_error("the program's window did not answer within 60 s");
}

WindowRun::~WindowRun() = default;

void WindowRun::idle(double seconds) { ProcessEventsFor(seconds); }

void WindowRun::paste(const std::vector<std::string>& files) {
  PutFilesOnClipboard(files);
  PressCtrlV(watch_.display(), window_);
}

void WindowRun::await(RequestTap& tap, int pages, double timeout, const std::function<void()>& each) {
  const auto pasted = SteadyClock::now();
  while (tap.resultGets() < pages) {
    ServeEventsBriefly();
    if (each) each();
    Check(child_->running(), "the program ended during the run");
    Check(SecondsSince(pasted) < timeout, "the run did not end within " + std::to_string(int(timeout)) + " s (" +
                                              std::to_string(tap.resultGets()) + " result pages fetched)");
  }
}

void WindowRun::end() {
  ProcessEventsFor(1.0);
  Check(Ping(socket_, 30000).has_value(), "the program did not answer after the run");
  Check(child_->terminate() == 0, "the program did not end cleanly on SIGTERM");
}

}  // namespace cvu::bench
