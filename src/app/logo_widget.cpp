#include "app/logo_widget.h"

#include "app/app_icon_pictures.h"

#include <QPainter>

// The resources live in a static library: registered by hand before first use.
static void RegisterIconResources() { Q_INIT_RESOURCE(icons); }

namespace cvu {
namespace {

QString Picture(const char* name) {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  return QStringLiteral(":/icons/") + QLatin1String(name);
}

}  // namespace

// The sizes drawn at build time; a size between two is scaled from the nearest larger.
QIcon AppIcon() {
  QIcon icon;
  for (const IconPicture& picture : AppIconPictures()) {
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.size, picture.size, picture.size * 4,
                       QImage::Format_ARGB32_Premultiplied);
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

QIcon AppLogo() { return QIcon(Picture("corvane-uploader.svg")); }
QIcon SaveIcon() { return QIcon(Picture("save.svg")); }
QIcon ResetIcon() { return QIcon(Picture("reset.svg")); }
QIcon CopyIcon() { return QIcon(Picture("copy.svg")); }

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent) { setFixedSize(150, 150); }

void LogoWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  AppLogo().paint(&painter, rect().adjusted(4, 4, -4, -4));
}

}  // namespace cvu
