#pragma once
// The program's pictures, SVG resources (icons/), so they stay sharp at any scale:
// the logo, which is also the window and tray icon, and the small button images.
#include <QIcon>
#include <QWidget>

namespace cvu {

QIcon AppLogo();    // also the window and tray icon
QIcon SaveIcon();   // the own-code save button
QIcon ResetIcon();  // "Сбросить авторизацию"
QIcon CopyIcon();   // the links window's copy buttons

// The logo on the about page.
class LogoWidget : public QWidget {
 public:
  explicit LogoWidget(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace cvu
