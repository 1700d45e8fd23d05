#pragma once
// Qt's own texts in Russian: the buttons of message boxes ("Да", "Нет"), the file and
// save dialogs, the context menus of the edit fields. The program's own texts are
// written in Russian in the code and need no translation.
#include <QTranslator>
#include <memory>

namespace cvu {

class QtTranslations {
 public:
  // Loads Qt's Russian translations (qtbase) and installs them in the application.
  // Without them installed, Qt's texts stay in English.
  QtTranslations();
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  bool loaded() const { return loaded_; }

 private:
  std::unique_ptr<QTranslator> qtbase_;
  bool loaded_ = false;
};

}  // namespace cvu
