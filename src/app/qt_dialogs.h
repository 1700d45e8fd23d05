#pragma once
// Modal dialogs through Qt: message boxes and the file dialogs.
#include <QPointer>
#include <QWidget>

#include "common/dialogs.h"

namespace cvu {

class QtDialogs : public Dialogs {
 public:
  // Dialogs are centred over this window once it exists.
  void setParentWindow(QWidget* parent) { parent_ = parent; }

  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& caption, const std::string& text) override;
  std::optional<std::string> saveFile(const std::string& proposedName, const std::string& filterName,
                                      const std::string& filterPattern) override;
  std::vector<std::string> openFiles(const std::string& filter) override;

  // Where the next open-files dialog starts: the folder of the last files chosen in this
  // run, at first the user's pictures folder (never the program's own data folder).
  QString openFilesFolder() const;

 private:
  QPointer<QWidget> parent_;
  QString lastOpenFolder_;
};

// "Images|*.jpg;*.png|All|*.*" becomes "Images (*.jpg *.png);;All (*.*)".
QString QtFileFilter(const std::string& filter);

}  // namespace cvu
