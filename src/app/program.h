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
#include "app/repaint_pacer.h"
#include "program/app_context.h"

namespace cvu {

class Program {
 public:
  Program(Clipboard& clipboard, Dialogs& dialogs, const Clock& clock, std::string databasePath = "cvxas.common.dll");
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

 private:
  void stopBackgroundWork();
  // The links, big-log and upload options windows; once.
  void buildWindows();

 public:
  // Creates the main window's state from the settings, then the links, big-log and
  // upload options windows. False: the program must end now.
  bool start();
  // Deferred, start() leaves the stored history, the profile page and the three other
  // windows to right after the main window's first painting, so neither a long history
  // nor building what nobody sees yet delays it. A handler that needs them sooner builds
  // them (the profile page: a read of one of its controls, or showing its tab).
  void deferToFirstPaint() { deferred_ = true; }
  // The deferred history has not been read and installed yet.
  bool historyPending() const { return historyPending_ || ctx_.history.FullHistoryLoading; }
  // Shows the main window; its first showing runs FormShow.
  void show();
  // Program end: the main window's FormDestroy (writes the settings). Runs once.
  void finish();

  TCV_Main& main() { return main_; }
  TCV_Links& links() { return buildWindows(), *links_; }
  TCV_BigLog& bigLog() { return buildWindows(), *bigLog_; }
  TCV_UpOptions& upOptions() { return buildWindows(), *upOptions_; }
  AppContext& context() { return ctx_; }

 private:
  QtUiThread ui_;
  TCV_Main main_;
  AppContext ctx_;
  // Destroyed before the main window that owns them as their parent.
  std::unique_ptr<TCV_Links> links_;
  std::unique_ptr<TCV_BigLog> bigLog_;
  std::unique_ptr<TCV_UpOptions> upOptions_;
  // The two windows an upload changes many times a second; gone before their windows.
  std::unique_ptr<RepaintPacer> mainPacer_;
  std::unique_ptr<RepaintPacer> bigLogPacer_;
  bool started_ = false;
  bool deferred_ = false;
  bool historyPending_ = false;
};

}  // namespace cvu
