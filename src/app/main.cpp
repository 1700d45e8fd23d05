// Program entry: no command line, no environment, no configuration file. The database
// "cvxas.common.dll" is taken from the working folder.
#include <QApplication>

#include "app/program.h"
#include "app/qt_clipboard.h"
#include "app/qt_dialogs.h"
#include "common/clock.h"
#include "common/identity.h"

int main(int, char* argv[]) {
  int qtArgc = 1;  // Qt sees the program's name only, none of its arguments
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QString::fromUtf8(cvu::kProductCaption));
  cvu::QtClipboard clipboard;
  cvu::QtDialogs dialogs;
  cvu::SystemClock clock;
  cvu::Program program(clipboard, dialogs, clock);
  dialogs.setParentWindow(&program.main());
  program.deferHistoryLoad();
  if (!program.start()) return 0;
  program.show();
  const int result = QApplication::exec();
  program.finish();
  return result;
}
