#include "app/program.h"

#include <QApplication>
#include <QCoreApplication>

#include "app/logo_widget.h"
#include "program/history_load.h"
#include "store/settings.h"

namespace cvu {

Program::Program(Clipboard& clipboard, Dialogs& dialogs, const Clock& clock, std::string databasePath)
    : ui_([&dialogs](const std::string& failure) { dialogs.showMessage(failure); }),
      ctx_(ui_, clock, clipboard, dialogs, main_) {
  ctx_.databasePath = std::move(databasePath);
  // Every window of the program, its dialogs and message boxes too, carries its icon.
  QApplication::setWindowIcon(AppLogo());
  // Requests made on the UI thread keep the windows painting and answering input.
  ctx_.uiWaitHook = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); };
}

// Closing during an upload: the transfer in flight is aborted, the worker ends without
// starting another (its hand-overs to this thread still run), and only then are the
// settings written.
void Program::stopBackgroundWork() {
  ctx_.http.abort->abort();
  const auto pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); };
  ctx_.uploadWorkers.close(pump);
  ctx_.versionChecks.close(pump);
  ctx_.historyLoads.close(pump);
}

bool Program::start() {
  if (!main_.FormCreate(ctx_)) return false;
  links_ = std::make_unique<TCV_Links>(&main_, ctx_);
  bigLog_ = std::make_unique<TCV_BigLog>(&main_, main_.logLines());
  ctx_.log.attachBigLog(bigLog_->CVU_BigLog());  // with the lines logged so far
  upOptions_ = std::make_unique<TCV_UpOptions>(&main_);
  ctx_.upOptions = upOptions_.get();
  main_.attachWindows(*links_, *bigLog_, *upOptions_);
  StartHistoryLoad(ctx_);
  started_ = true;
  return true;
}

void Program::show() { main_.show(); }

void Program::finish() {
  stopBackgroundWork();
  if (started_) main_.FormDestroy();
  started_ = false;
}

}  // namespace cvu
