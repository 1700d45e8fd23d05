#include "support/scripted_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace cvu::test {
namespace {

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// The value of the Content-Length line in a header block, 0 when there is none.
std::size_t ContentLength(const std::string& head) {
  const std::string name = "\r\ncontent-length:";
  for (std::size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
    if (strncasecmp(head.c_str() + at, name.c_str(), name.size()) == 0) {
      return std::stoul(head.substr(at + name.size()));
    }
  }
  return 0;
}

int BindLoopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 8) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("listener could not bind a port");
  }
  port = ntohs(addr.sin_port);
  return fd;
}

}  // namespace

struct ScriptedListener::Connection {
  int fd = -1;
  int number = 0;
  std::string pending;  // bytes read but not yet part of a whole request
};

std::size_t CompleteRequestLength(const std::string& bytes) {
  const auto end = bytes.find("\r\n\r\n");
  if (end == std::string::npos) return 0;
  const std::size_t length = end + 4 + ContentLength(bytes.substr(0, end + 2));
  return bytes.size() >= length ? length : 0;
}

ScriptedListener::ScriptedListener() {
  listenFd_ = BindLoopback(port_);
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) {
    CloseFd(listenFd_);
    throw std::runtime_error("listener could not make its wake-up pipe");
  }
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
}

ScriptedListener::~ScriptedListener() {
  if (thread_.joinable()) {
    const char stop = 's';
    (void)!::write(wakeWrite_, &stop, 1);
    thread_.join();
  }
  CloseFd(listenFd_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
}

void ScriptedListener::serve(std::vector<CannedAnswer> script) {
  if (thread_.joinable()) throw std::logic_error("the listener serves one script only");
  thread_ = std::thread([this, script = std::move(script)]() mutable { run(std::move(script)); });
}

void ScriptedListener::run(std::vector<CannedAnswer> script) {
  const CannedAnswer unscripted{std::string(kUnscriptedStatus) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"};
  std::vector<Connection> open;
  std::size_t next = 0;
  int accepted = 0;
  for (;;) {
    std::vector<pollfd> polled{{wakeRead_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
    for (const auto& c : open) polled.push_back({c.fd, POLLIN, 0});
    if (::poll(polled.data(), polled.size(), -1) < 0) break;
    if (polled[0].revents != 0) break;
    if (polled[1].revents & POLLIN) {
      const int fd = ::accept(listenFd_, nullptr, nullptr);
      if (fd >= 0) open.push_back({fd, ++accepted, {}});
    }
    for (std::size_t i = 0; i + 2 < polled.size(); ++i) {
      if (polled[i + 2].revents == 0) continue;
      Connection& c = open[i];
      if (!readInto(c)) {
        CloseFd(c.fd);
        continue;
      }
      while (c.fd >= 0) {
        const std::size_t length = CompleteRequestLength(c.pending);
        if (length == 0) break;
        {
          std::lock_guard lock(mutex_);
          received_.push_back({c.pending.substr(0, length), c.number});
        }
        c.pending.erase(0, length);
        answer(c, next < script.size() ? script[next++] : unscripted);
      }
    }
    std::erase_if(open, [](const Connection& c) { return c.fd < 0; });
  }
  for (auto& c : open) CloseFd(c.fd);
}

// False when the peer closed the connection; what it left unfinished is kept as a
// request of its own, so a test sees what arrived.
bool ScriptedListener::readInto(Connection& connection) {
  char buffer[65536];
  const ssize_t n = ::recv(connection.fd, buffer, sizeof buffer, 0);
  if (n > 0) {
    connection.pending.append(buffer, static_cast<std::size_t>(n));
    return true;
  }
  if (!connection.pending.empty()) {
    std::lock_guard lock(mutex_);
    received_.push_back({std::exchange(connection.pending, {}), connection.number});
  }
  return false;
}

void ScriptedListener::answer(Connection& connection, const CannedAnswer& canned) {
  ::send(connection.fd, canned.bytes.data(), canned.bytes.size(), MSG_NOSIGNAL);
  if (!canned.closeAfter) return;
  ::shutdown(connection.fd, SHUT_WR);
  CloseFd(connection.fd);
}

std::vector<ReceivedRequest> ScriptedListener::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<ReceivedRequest> ScriptedListener::waitFor(std::size_t count, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto requests = received();
    if (requests.size() >= count || std::chrono::steady_clock::now() > deadline) return requests;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace cvu::test
