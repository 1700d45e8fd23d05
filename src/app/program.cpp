#include "app/program.h"

#include <QCoreApplication>

namespace cvu {

Program::Program(Clipboard& clipboard, Dialogs& dialogs, const Clock& clock, std::string databasePath)
    : ui_([&dialogs](const std::string& failure) { dialogs.showMessage(failure); }),
      ctx_(ui_, clock, clipboard, dialogs, main_) {
  ctx_.databasePath = std::move(databasePath);
  // Requests made on the UI thread keep the windows painting and answering input.
  ctx_.uiWaitHook = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); };
}

Program::~Program() = default;

bool Program::start() {
  if (!main_.FormCreate(ctx_)) return false;
  links_ = std::make_unique<TCV_Links>(&main_, ctx_);
  bigLog_ = std::make_unique<TCV_BigLog>(&main_);
  ctx_.log.attachBigLog(bigLog_->CVU_BigLog());
  upOptions_ = std::make_unique<TCV_UpOptions>(&main_);
  main_.attachWindows(*links_, *bigLog_, *upOptions_);
  started_ = true;
  return true;
}

void Program::show() { main_.show(); }

void Program::finish() {
  if (started_) main_.FormDestroy();
  started_ = false;
}

}  // namespace cvu
