#include "raw_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace cvu::test {

RawConnection::RawConnection(int port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

RawConnection::~RawConnection() {
  if (fd_ >= 0) ::close(fd_);
}

bool RawConnection::send(std::string_view bytes) {
  while (fd_ >= 0 && !bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return fd_ >= 0;
}

void RawConnection::stopSending() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

bool RawConnection::receiveSome(std::chrono::steady_clock::time_point deadline) {
  if (fd_ < 0 || ended_) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return false;
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
  char buffer[65536];
  const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
  if (n <= 0) {
    ended_ = true;
    return false;
  }
  received_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

std::string RawConnection::readUntilClosed(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (receiveSome(deadline)) {
  }
  return received_;
}

std::string RawConnection::readStatusLine(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (received_.find("\r\n") == std::string::npos && receiveSome(deadline)) {
  }
  const auto end = received_.find("\r\n");
  return end == std::string::npos ? std::string() : received_.substr(0, end);
}

bool RawConnection::closedWithin(std::chrono::milliseconds limit) {
  readUntilClosed(limit);
  return ended_;
}

}  // namespace cvu::test
