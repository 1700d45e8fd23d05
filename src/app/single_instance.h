#pragma once
// One running program per data folder. The first start holds a lock file beside the
// database and answers later starts on a local socket; a later start asks it to show
// its main window and ends, so two processes never share the database and neither
// overwrites the other's settings at exit.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

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
  // The first start, once its window is up: every later start runs showWindow.
  bool listen(std::function<void()> showWindow);

  // The local socket's name, derived from the folder's path.
  static QString serverName(const QString& folder);
  static QString lockFileName(const QString& folder);

 private:
  void answer();

  QString folder_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> showWindow_;
};

}  // namespace cvu
