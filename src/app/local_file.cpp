#include "app/local_file.h"

#include <QByteArray>

namespace cvu {

std::string LocalFileBytes(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace cvu
