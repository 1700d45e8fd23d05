#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>
#include <stdexcept>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace cvu {

void QtClipboard::setText(const std::string& utf8) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) throw std::runtime_error("Cannot open clipboard");
  auto data = std::make_unique<QMimeData>();
  data->setText(QString::fromStdString(utf8));
#ifdef Q_OS_WIN
  // The language entry tells programs that paste the text which language it is in.
  const LCID locale = MAKELCID(GetUserDefaultLangID(), SORT_DEFAULT);
  data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Locale\""),
                QByteArray(reinterpret_cast<const char*>(&locale), sizeof locale));
#endif
  clipboard->setMimeData(data.release());
}

}  // namespace cvu
