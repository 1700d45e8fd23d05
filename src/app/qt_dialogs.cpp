#include "app/qt_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>

#include "common/identity.h"

namespace cvu {

void QtDialogs::showMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kProductCaption), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::askYesNo(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);  // kept on top of all windows
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::saveFile(const std::string& proposedName, const std::string& filterName,
                                               const std::string& filterPattern) {
  // Our own dialog, so it neither adds an extension nor asks before replacing a file.
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(QtFileFilter(filterName + "|" + filterPattern));
  dialog.selectFile(QString::fromStdString(proposedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

QString QtDialogs::openFilesFolder() const {
  if (!lastOpenFolder_.isEmpty()) return lastOpenFolder_;
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

std::vector<std::string> QtDialogs::openFiles(const std::string& filter) {
  const QStringList names = QFileDialog::getOpenFileNames(parent_, QString(), openFilesFolder(), QtFileFilter(filter));
  if (!names.isEmpty()) lastOpenFolder_ = QFileInfo(names.first()).absolutePath();
  std::vector<std::string> paths;
  // The dialog hands names as text; a name that is not UTF-8 arrives with replacement
  // characters, and the upload then says the name cannot be read.
  for (const QString& name : names) paths.push_back(QFile::encodeName(name).toStdString());
  return paths;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QStringLiteral(")");
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace cvu
