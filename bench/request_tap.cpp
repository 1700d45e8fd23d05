#include "request_tap.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

namespace cvu::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Fd {
  int fd;
  explicit Fd(int f) : fd(f) {}
  ~Fd() {
    if (fd >= 0) close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
};

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

std::string_view WithoutSlashes(std::string_view path) {
  while (path.starts_with('/')) path.remove_prefix(1);
  return path;
}

// "POST //upload.html HTTP/1.1" -> method and path.
void ReadRequestLine(std::string_view head, Exchange& e) {
  const auto end = head.find("\r\n");
  const std::string_view line = head.substr(0, end);
  const auto space = line.find(' ');
  if (space == std::string_view::npos) return;
  e.method = std::string(line.substr(0, space));
  const auto next = line.find(' ', space + 1);
  e.path = std::string(line.substr(space + 1, next == std::string_view::npos ? next : next - space - 1));
}

// Passes small pieces on at once, as the direct connection would deliver them: the tap
// must not add Nagle's wait for an acknowledgement.
void NoDelay(int fd) {
  const int yes = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

bool Send(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t n = send(fd, data, static_cast<std::size_t>(size), MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

}  // namespace

bool IsUploadPost(const Exchange& e) { return e.method == "POST" && WithoutSlashes(e.path) == "upload.html"; }
bool IsResultGet(const Exchange& e) { return e.method == "GET" && WithoutSlashes(e.path).starts_with("i-"); }

RunSpan SpanOf(const std::vector<Exchange>& exchanges) {
  RunSpan span;
  std::optional<Clock::time_point> first, last;
  for (const Exchange& e : exchanges) {
    if (IsUploadPost(e)) {
      ++span.posts;
      if (!first || e.firstByte < *first) first = e.firstByte;
    } else if (IsResultGet(e)) {
      ++span.results;
      if (!last || e.lastReply > *last) last = e.lastReply;
    }
  }
  if (first && last) span.seconds = std::chrono::duration<double>(*last - *first).count();
  return span;
}

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double MedianOf(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

RunPhases PhasesOf(std::vector<Exchange> exchanges) {
  std::erase_if(exchanges, [](const Exchange& e) { return !IsUploadPost(e) && !IsResultGet(e); });
  std::sort(exchanges.begin(), exchanges.end(),
            [](const Exchange& a, const Exchange& b) { return a.firstByte < b.firstByte; });
  std::vector<double> post, get, postToGet, getToNext;
  for (std::size_t i = 0; i < exchanges.size(); ++i) {
    const Exchange& e = exchanges[i];
    (IsUploadPost(e) ? post : get).push_back(Seconds(e.lastReply - e.firstByte));
    if (i == 0) continue;
    const Exchange& before = exchanges[i - 1];
    if (IsResultGet(e) && IsUploadPost(before)) postToGet.push_back(Seconds(e.firstByte - before.lastReply));
    if (IsUploadPost(e) && IsResultGet(before)) getToNext.push_back(Seconds(e.firstByte - before.lastReply));
  }
  return {MedianOf(post), MedianOf(get), MedianOf(postToGet), MedianOf(getToNext)};
}

Measured Measure(std::vector<Exchange> exchanges) {
  const RunSpan span = SpanOf(exchanges);
  const RunPhases phases = PhasesOf(exchanges);
  return {span, phases, std::move(exchanges)};
}

RequestTap::RequestTap(int port, int target) : target_(target) {
  listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int yes = 1;
  setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  const sockaddr_in a = Loopback(port);
  if (bind(listen_, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_, 64) != 0) {
    close(listen_);
    throw std::runtime_error("port " + std::to_string(port) + " on 127.0.0.1 is taken (is another service running?)");
  }
  acceptor_ = std::thread([this] { acceptLoop(); });
}

RequestTap::~RequestTap() {
  stop_ = true;
  acceptor_.join();
  for (Connection& c : connections_) c.thread.join();
  close(listen_);
}

std::vector<Exchange> RequestTap::take() {
  const std::lock_guard lock(mutex_);
  resultGets_ = 0;
  return std::exchange(done_, {});
}

int RequestTap::resultGets() {
  const std::lock_guard lock(mutex_);
  return resultGets_;
}

void RequestTap::acceptLoop() {
  pollfd p{listen_, POLLIN, 0};
  while (!stop_) {
    if (poll(&p, 1, 100) <= 0) {
      joinEnded();
      continue;
    }
    const int client = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    auto done = std::make_shared<std::atomic<bool>>(false);
    connections_.push_back({std::thread([this, client, done] {
                              pass(client);
                              *done = true;
                            }),
                            done});
    joinEnded();
  }
}

// An ended thread keeps its stack until joined: a long run would pile up thousands.
void RequestTap::joinEnded() {
  std::erase_if(connections_, [](Connection& c) {
    if (!*c.done) return false;
    c.thread.join();
    return true;
  });
}

// Copies both ways until both sides have closed (or the tap stops).
void RequestTap::pass(int clientFd) {
  const Fd client(clientFd);
  const Fd service(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_in a = Loopback(target_);
  if (connect(service.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) return;
  NoDelay(client.fd);
  NoDelay(service.fd);
  Exchange e;
  std::string head;
  bool clientOpen = true, serviceOpen = true;
  char buffer[65536];
  while ((clientOpen || serviceOpen) && !stop_) {
    pollfd p[2] = {{clientOpen ? client.fd : -1, POLLIN, 0}, {serviceOpen ? service.fd : -1, POLLIN, 0}};
    if (poll(p, 2, 100) <= 0) continue;
    if (p[0].revents) {
      const ssize_t n = recv(client.fd, buffer, sizeof buffer, 0);
      if (head.empty() && n > 0) e.firstByte = Clock::now();
      if (n <= 0 || !Send(service.fd, buffer, n)) {
        clientOpen = false;
        shutdown(service.fd, SHUT_WR);
      } else {
        e.sent += static_cast<std::uint64_t>(n);
        if (head.size() < 1024) head.append(buffer, static_cast<std::size_t>(std::min<ssize_t>(n, 1024)));
      }
    }
    if (p[1].revents) {
      const ssize_t n = recv(service.fd, buffer, sizeof buffer, 0);
      if (n <= 0 || !Send(client.fd, buffer, n)) {
        serviceOpen = false;
        shutdown(client.fd, SHUT_WR);
      } else {
        e.lastReply = Clock::now();
        e.received += static_cast<std::uint64_t>(n);
      }
    }
  }
  ReadRequestLine(head, e);
  const std::lock_guard lock(mutex_);
  resultGets_ += IsResultGet(e);
  done_.push_back(std::move(e));
}

}  // namespace cvu::bench
