#pragma once
// The whole program: the four windows and the context they share, created and ended
// in the order of start-up. main() runs it with the real desktop; tests, benchmarks
// and the screenshot tool run it with their own clipboard, dialogs and database path.
#include <memory>
#include <string>

#include "app/cv_big_log.h"
#include "app/cv_links.h"
#include "app/cv_main.h"
#include "app/cv_up_options.h"
#include "app/qt_ui_thread.h"
#include "program/app_context.h"

namespace cvu {

class Program {
 public:
  Program(Clipboard& clipboard, Dialogs& dialogs, const Clock& clock, std::string databasePath = "cvxas.common.dll");
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Creates the main window's state from the settings, then the links, big-log and
  // upload options windows, and starts reading the stored history on a thread of its
  // own (a long history neither delays nor freezes the window). False: the program
  // must end now.
  bool start();
  // The stored history has not been read and installed yet.
  bool historyPending() const { return ctx_.history.FullHistoryLoading; }
  // Shows the main window; its first showing runs FormShow.
  void show();
  // Program end: the main window's FormDestroy (writes the settings). Runs once.
  void finish();

  TCV_Main& main() { return main_; }
  TCV_Links& links() { return *links_; }
  TCV_BigLog& bigLog() { return *bigLog_; }
  TCV_UpOptions& upOptions() { return *upOptions_; }
  AppContext& context() { return ctx_; }

 private:
  void stopBackgroundWork();

  QtUiThread ui_;
  TCV_Main main_;
  AppContext ctx_;
  // Destroyed before the main window that owns them as their parent.
  std::unique_ptr<TCV_Links> links_;
  std::unique_ptr<TCV_BigLog> bigLog_;
  std::unique_ptr<TCV_UpOptions> upOptions_;
  bool started_ = false;
};

}  // namespace cvu
