#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <memory>

namespace cvu {
namespace {

// The requests: "show\n", or "open N\n" followed by N paths each ended by a NUL byte.
const QByteArray kShowRequest = "show\n";
const QByteArray kOpenRequest = "open ";
const QByteArray kShownAnswer = "shown\n";
constexpr int kRetryPauseMs = 50;
// What one request may carry: more is not from the launcher.
constexpr int kMaxRequestBytes = 64 << 20;

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
  const QString reason = lock_.error() == QLockFile::PermissionError ? QStringLiteral("нет прав на запись в эту папку")
                                                                     : QStringLiteral("папка недоступна");
  return QStringLiteral("Не удалось занять папку данных программы «%1»: %2.\nПрограмма будет закрыта.")
      .arg(QDir::toNativeSeparators(folder_), reason);
}

bool SingleInstance::askRunningToShow(int timeoutMs) { return ask(kShowRequest, timeoutMs); }

bool SingleInstance::askRunningToOpen(const std::vector<std::string>& paths, int timeoutMs) {
  QByteArray request = kOpenRequest + QByteArray::number(static_cast<qsizetype>(paths.size())) + '\n';
  for (const auto& path : paths) request += QByteArray(path.data(), static_cast<qsizetype>(path.size())) + '\0';
  return ask(request, timeoutMs);
}

bool SingleInstance::ask(const QByteArray& request, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  const QString name = serverName(folder_);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(static_cast<int>(std::min<qint64>(1000, deadline.remainingTime())))) {
      socket.write(request);
      if (socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())) &&
          ReadLine(socket, deadline) == kShownAnswer) {
        return true;
      }
    }
    QThread::msleep(kRetryPauseMs);  // the running program may not be listening yet
  }
  return false;
}

bool SingleInstance::listen(std::function<void()> showWindow,
                            std::function<void(const std::vector<std::string>&)> openFiles) {
  if (!lock_.isLocked()) return false;
  showWindow_ = std::move(showWindow);
  openFiles_ = std::move(openFiles);
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
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
      *buffer += socket->readAll();
      if (buffer->size() > kMaxRequestBytes) {
        socket->abort();
        return;
      }
      if (!take(*buffer)) return;
      socket->write(kShownAnswer);
      socket->disconnectFromServer();
    });
  }
}

bool SingleInstance::take(QByteArray& buffer) {
  const qsizetype lineEnd = buffer.indexOf('\n');
  if (lineEnd < 0) return false;
  const QByteArray line = buffer.left(lineEnd + 1);
  if (line == kShowRequest) {
    if (showWindow_) showWindow_();
    return true;
  }
  if (!line.startsWith(kOpenRequest)) return true;  // not ours: answered, nothing done
  bool ok = false;
  const qsizetype count = line.mid(kOpenRequest.size()).trimmed().toLongLong(&ok);
  std::vector<std::string> paths;
  qsizetype from = lineEnd + 1;
  for (qsizetype i = 0; ok && i < count; ++i) {
    const qsizetype end = buffer.indexOf('\0', from);
    if (end < 0) return false;  // the rest is still on its way
    paths.emplace_back(buffer.constData() + from, static_cast<std::size_t>(end - from));
    from = end + 1;
  }
  if (ok && openFiles_) openFiles_(paths);
  return true;
}

}  // namespace cvu
