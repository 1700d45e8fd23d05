#include "app/secondary_window.h"

#include "app/qt_controls.h"

namespace cvu {

SecondaryWindow::SecondaryWindow(QWidget* owner, Qt::WindowFlags flags) : QWidget(owner, Qt::Window | flags) {
  setAttribute(Qt::WA_QuitOnClose, false);
  if (owner != nullptr) {
    setFont(owner->font());
    setWindowIcon(owner->windowIcon());
  }
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
