#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace cvu {

QtTranslations::QtTranslations() : qtbase_(std::make_unique<QTranslator>()) {
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  // Dates and sizes in the file dialogs follow the interface's language too.
  QLocale::setDefault(russian);
  loaded_ = qtbase_->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (loaded_) QCoreApplication::installTranslator(qtbase_.get());
}

QtTranslations::~QtTranslations() {
  if (loaded_) QCoreApplication::removeTranslator(qtbase_.get());
}

}  // namespace cvu
