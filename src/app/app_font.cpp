#include "app/app_font.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

namespace cvu {
namespace {

bool HasCyrillicTahoma() {
  const QString family = QString::fromLatin1(kFontFamily);
  return QFontDatabase::hasFamily(family) && QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic);
}

}  // namespace

std::vector<QString> TahomaFontFiles() {
  return {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
          QStringLiteral("/usr/share/fonts/truetype/wine/tahoma.ttf"),
          QStringLiteral("/usr/share/fonts/wine/tahoma.ttf")};
}

bool EnsureTahoma(const std::vector<QString>& candidates) {
  if (HasCyrillicTahoma()) return true;
  for (const QString& file : candidates) {
    if (!QFile::exists(file)) continue;
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) continue;
    if (QFontDatabase::applicationFontFamilies(id).contains(QString::fromLatin1(kFontFamily)) && HasCyrillicTahoma()) {
      // Its bold face, where it lies beside, so bold captions are not smeared.
      const QString bold = QFileInfo(file).dir().filePath(QStringLiteral("tahomabd.ttf"));
      if (QFile::exists(bold)) QFontDatabase::addApplicationFont(bold);
      return true;
    }
    QFontDatabase::removeApplicationFont(id);
  }
  return false;
}

QFont ProgramFont() { return ProgramFont(HasCyrillicTahoma()); }

QFont ProgramFont(bool tahoma) {
  QFont font = tahoma ? QFont(QString::fromLatin1(kFontFamily)) : QGuiApplication::font();
  font.setPointSize(kFontPointSize);
  return font;
}

}  // namespace cvu
