#pragma once
// TCV_BigLog: the big-log window, the whole activity log of the run in one list.
#include <QListWidget>
#include <memory>

#include "app/qt_controls.h"
#include "app/secondary_window.h"

namespace cvu {

class TCV_BigLog : public SecondaryWindow {
 public:
  explicit TCV_BigLog(QWidget* owner);

  QtListBox& CVU_BigLog() { return *list_; }
  void showWindow() { showUp(); }

 private:
  QListWidget* widget_;
  std::unique_ptr<QtListBox> list_;
};

}  // namespace cvu
