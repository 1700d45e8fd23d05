#pragma once
// TCV_BigLog: the big-log window, the whole activity log of the run in one list.
#include <QListView>
#include <memory>

#include "app/qt_log_list.h"
#include "app/secondary_window.h"

namespace cvu {

class TCV_BigLog : public SecondaryWindow {
 public:
  // Its list shows the lines of `lines`, which the main window's log list holds too.
  TCV_BigLog(QWidget* owner, LogLineStore& lines);

  QtLogList& CVU_BigLog() { return *list_; }
  void showWindow() { showUp(); }

 private:
  QListView* widget_;
  std::unique_ptr<QtLogList> list_;
};

}  // namespace cvu
