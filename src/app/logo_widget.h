#pragma once
// The program's pictures, drawn in code: the logo, the window icon and the small
// button images.
#include <QIcon>
#include <QWidget>

namespace cvu {

// Paints the logo into the square centred in rect.
void PaintLogo(QPainter& painter, const QRectF& rect);

QIcon AppIcon();
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
