#pragma once
// What the three secondary windows share: they belong to the main window (no task-bar
// button of their own), closing one only hides it (it never ends the program), Escape
// closes it as its close button does, it is a dialog to the desktop and its screen
// readers, and the first showing centres it over the main window.
#include <QDialog>

namespace cvu {

class SecondaryWindow : public QDialog {
 public:
  SecondaryWindow(QWidget* owner, Qt::WindowFlags flags);

  // Shows the window without blocking, or brings it to the front.
  void showUp();

 private:
  bool placed_ = false;
};

}  // namespace cvu
