#include "ping_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace cvu::bench {
namespace {

struct Socket {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ~Socket() {
    if (fd >= 0) close(fd);
  }
};

bool Connect(int fd, const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// Reads up to the first new line, or until the deadline.
std::string ReadLine(int fd, std::chrono::steady_clock::time_point deadline) {
  std::string line;
  while (line.find('\n') == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return line;
    line.append(buffer, static_cast<std::size_t>(n));
  }
  return line;
}

}  // namespace

std::optional<double> Ping(const std::string& path, int timeoutMs) {
  const auto start = std::chrono::steady_clock::now();
  const Socket s;
  if (s.fd < 0 || !Connect(s.fd, path)) return std::nullopt;
  static constexpr char kShow[] = "show\n";
  if (write(s.fd, kShow, sizeof kShow - 1) != static_cast<ssize_t>(sizeof kShow - 1)) return std::nullopt;
  if (ReadLine(s.fd, start + std::chrono::milliseconds(timeoutMs)) != "shown\n") return std::nullopt;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace cvu::bench
