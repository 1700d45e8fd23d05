#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace cvu {
namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kShownAnswer = "shown\n";
constexpr int kRetryPauseMs = 50;

// Reads until a whole line has come or the time is up.
QByteArray ReadLine(QLocalSocket& socket, const QDeadlineTimer& deadline) {
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return {};
  }
  return socket.readLine();
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder) : folder_(folder), lock_(lockFileName(folder)) {
  // Held for the whole run: only a holder that has ended leaves a stale lock, whatever its age.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  server_.reset();
  lock_.unlock();
}

QString SingleInstance::lockFileName(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("cvxas.common.dll.lock"));
}

QString SingleInstance::serverName(const QString& folder) {
  const QFileInfo info(folder);
  const QString path = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
  const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  // The user's private runtime folder: no other user can take or reach the socket.
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return QDir(runtime).filePath(QStringLiteral("corvane-uploader-") + QString::fromLatin1(hash));
}

SingleInstance::Start SingleInstance::acquire() {
  if (lock_.tryLock(0)) return Start::First;
  return lock_.error() == QLockFile::LockFailedError ? Start::Running : Start::CannotStart;
}

QString SingleInstance::failure() const {
  const QString reason = lock_.error() == QLockFile::PermissionError
                             ? QStringLiteral("нет прав на запись в эту папку")
                             : QStringLiteral("папка недоступна");
  return QStringLiteral("Не удалось занять папку данных программы «%1»: %2.\nПрограмма будет закрыта.")
      .arg(QDir::toNativeSeparators(folder_), reason);
}

bool SingleInstance::askRunningToShow(int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  const QString name = serverName(folder_);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(static_cast<int>(std::min<qint64>(1000, deadline.remainingTime())))) {
      socket.write(kShowRequest);
      if (socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())) &&
          ReadLine(socket, deadline) == kShownAnswer) {
        return true;
      }
    }
    QThread::msleep(kRetryPauseMs);  // the running program may not be listening yet
  }
  return false;
}

bool SingleInstance::listen(std::function<void()> showWindow) {
  if (!lock_.isLocked()) return false;
  showWindow_ = std::move(showWindow);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  const QString name = serverName(folder_);
  QLocalServer::removeServer(name);  // left by a program that ended without cleaning up; the lock is ours
  connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::answer);
  return server_->listen(name);
}

void SingleInstance::answer() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      if (socket->readLine() == kShowRequest && showWindow_) showWindow_();
      socket->write(kShownAnswer);
      socket->disconnectFromServer();
    });
  }
}

}  // namespace cvu
