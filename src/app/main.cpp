// Program entry: no command line, no environment, no configuration file. The database
// "cvxas.common.dll" is taken from the working folder (the installed launcher makes it
// the user's data folder).
#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "app/app_font.h"
#include "app/program.h"
#include "app/qt_clipboard.h"
#include "app/qt_dialogs.h"
#include "app/qt_translations.h"
#include "app/signal_exit.h"
#include "app/single_instance.h"
#include "common/clock.h"
#include "common/identity.h"

int main(int, char* argv[]) {
  cvu::HoldEndSignals();  // before Qt or the program starts a thread
  int qtArgc = 1;         // Qt sees the program's name only, none of its arguments
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QString::fromUtf8(cvu::kProductCaption));
  QGuiApplication::setDesktopFileName(QStringLiteral("net.corvane.uploader"));
  const cvu::QtTranslations translations;
  QApplication::setFont(cvu::ProgramFont(cvu::EnsureTahoma()));

  cvu::SingleInstance instance(QDir::currentPath());
  switch (instance.acquire()) {
    case cvu::SingleInstance::Start::First:
      break;
    case cvu::SingleInstance::Start::Running:
      return instance.askRunningToShow() ? 0 : 1;
    case cvu::SingleInstance::Start::CannotStart:
      QMessageBox::critical(nullptr, QString::fromUtf8(cvu::kProductCaption), instance.failure());
      return 1;
  }

  cvu::QtClipboard clipboard;
  cvu::QtDialogs dialogs;
  cvu::SystemClock clock;
  cvu::Program program(clipboard, dialogs, clock);
  dialogs.setParentWindow(&program.main());
  // A signal or the session's end closes the main window, as the user would, and ends
  // every event loop: also that of a message box or file dialog that is open.
  const auto end = [&program] {
    program.main().close();
    QApplication::exit(0);
  };
  const cvu::SignalExit signalExit([&end](int) { end(); });
  cvu::OnSessionEnd(app, end);
  if (!program.start()) return 1;  // error 058: the database cannot be used
  program.show();
  instance.listen([&program] { program.main().restoreFromTray(); },
                  [&program](const std::vector<std::string>& paths) { program.main().openFiles(paths); });
  const int result = QApplication::exec();
  program.finish();
  return result;
}
