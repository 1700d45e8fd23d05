#include "app/logo_widget.h"

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
