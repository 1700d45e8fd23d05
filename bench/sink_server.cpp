#include "sink_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace cvu::bench {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::string_view kAnswer =
    "HTTP/1.1 302 Found\r\nLocation: i-0123456789ab\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// The value of a header line in the (lower-cased) head, or empty.
std::string HeaderValue(const std::string& head, const std::string& name) {
  const auto at = head.find("\r\n" + name + ":");
  if (at == std::string::npos) return {};
  const auto start = head.find_first_not_of(' ', at + name.size() + 3);
  return head.substr(start, head.find("\r\n", start) - start);
}

void SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    data.remove_prefix(static_cast<std::size_t>(sent));
  }
}

}  // namespace

SinkServer::SinkServer() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof addr;
  if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listenFd_, 8) != 0 || ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    if (listenFd_ >= 0) ::close(listenFd_);
    throw std::runtime_error("sink server: cannot listen");
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { acceptLoop(); });
}

SinkServer::~SinkServer() {
  // Shutting the listening socket down wakes the blocked accept().
  ::shutdown(listenFd_, SHUT_RDWR);
  thread_.join();
  ::close(listenFd_);
}

void SinkServer::acceptLoop() {
  for (;;) {
    const int fd = ::accept(listenFd_, nullptr, nullptr);
    if (fd < 0) return;
    serve(fd);
    ::close(fd);
  }
}

// Reads the head, then exactly Content-Length body bytes into one reused buffer.
void SinkServer::serve(int fd) {
  std::vector<char> buffer(kBufferSize);
  std::string head;
  std::size_t headEnd = std::string::npos;
  while (headEnd == std::string::npos) {
    const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
    if (got <= 0) return;
    head.append(buffer.data(), static_cast<std::size_t>(got));
    headEnd = head.find("\r\n\r\n");
  }
  const std::string lower = Lower(std::string_view(head).substr(0, headEnd + 2));
  if (HeaderValue(lower, "expect") == "100-continue") SendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n");
  const std::string lengthText = HeaderValue(lower, "content-length");
  const std::uint64_t length = lengthText.empty() ? 0 : std::stoull(lengthText);
  std::uint64_t received = head.size() - (headEnd + 4);
  while (received < length) {
    const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
    if (got <= 0) return;
    received += static_cast<std::uint64_t>(got);
  }
  lastBody_ = received;
  SendAll(fd, kAnswer);
}

}  // namespace cvu::bench
