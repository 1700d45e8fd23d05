#include "app/secondary_window.h"

#include "app/qt_controls.h"

namespace cvu {

// A dialog-type window: the desktop keeps it with its owner (transient for the main
// window) and gives it no task-bar button of its own.
SecondaryWindow::SecondaryWindow(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, Qt::Dialog | flags) {
  setAttribute(Qt::WA_QuitOnClose, false);
  // The window icon is the owner's, taken when this window is first shown.
  if (owner != nullptr) setFont(owner->font());
}

void SecondaryWindow::showUp() {
  if (!placed_) {
    CentreOver(this, parentWidget());
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
}

}  // namespace cvu
