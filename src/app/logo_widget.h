#pragma once
// The program's pictures, SVG resources (icons/), so they stay sharp at any scale:
// the logo and the small button images; the window and tray icon at the sizes drawn
// from the same SVG when the program is built.
#include <QIcon>
#include <QWidget>

namespace cvu {

QIcon AppIcon();    // the window and tray icon, from pictures drawn at build time
QIcon AppLogo();    // the same picture as SVG, sharp at any size
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
