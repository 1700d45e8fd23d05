// corvane-uploader-open FILE...: hands the files to the program running on the working
// folder, which takes them as a drop on its window. The launcher runs it for the files
// it is given (a file manager's Open With), so the program itself reads no arguments.
#include <QCoreApplication>
#include <QDir>
#include <string>
#include <vector>

#include "app/single_instance.h"

int main(int argc, char* argv[]) {
  int qtArgc = 1;  // Qt sees the program's name only
  QCoreApplication app(qtArgc, argv);
  const std::vector<std::string> paths(argv + 1, argv + argc);
  cvu::SingleInstance instance(QDir::currentPath());
  return instance.askRunningToOpen(paths) ? 0 : 1;
}
