#pragma once
// One running program per data folder. The first start holds a lock file beside the
// database and answers later starts on a local socket; a later start asks it to show
// its main window and ends, so two processes never share the database and neither
// overwrites the other's settings at exit. The same socket takes files to open, as if
// they were dropped on the window (the launcher's files, Open With).
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cvu {

class SingleInstance : public QObject {
 public:
  // folder: the folder of the database (the working folder of the real program).
  explicit SingleInstance(const QString& folder);
  ~SingleInstance() override;

  enum class Start {
    First,        // no other program runs on this folder, and none can start until this object is gone
    Running,      // another program holds the folder
    CannotStart,  // the lock file cannot be made (a read-only folder, say): failure() says why
  };
  Start acquire();
  // Why the lock could not be made, for the user: the folder and the reason.
  QString failure() const;
  // A later start: asks the running program to show its main window. True when it
  // answered within timeoutMs (it may still be starting, so the socket is retried).
  bool askRunningToShow(int timeoutMs = 10000);
  // Hands the files (paths as the file system has them) to the running program, which
  // shows its window and takes them as a drop. True when it answered within timeoutMs.
  bool askRunningToOpen(const std::vector<std::string>& paths, int timeoutMs = 20000);
  // The first start, once its window is up: every later start runs showWindow, every
  // hand-over of files openFiles.
  bool listen(std::function<void()> showWindow, std::function<void(const std::vector<std::string>&)> openFiles);

  // The local socket's name, derived from the folder's path.
  static QString serverName(const QString& folder);
  static QString lockFileName(const QString& folder);

 private:
  void answer();
  bool ask(const QByteArray& request, int timeoutMs);
  // Acts on a whole request at the start of buffer and drops it; false while it is not whole.
  bool take(QByteArray& buffer);

  QString folder_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> showWindow_;
  std::function<void(const std::vector<std::string>&)> openFiles_;
};

}  // namespace cvu
