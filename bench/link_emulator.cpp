#include "link_emulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "link_flow.h"

namespace cvu::bench {
namespace {

using Clock = std::chrono::steady_clock;

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// Small chunks go out when their time comes, not after Nagle's wait for an acknowledgement.
void NoDelay(int fd) {
  const int yes = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

void NonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

int Listen(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  const sockaddr_in a = Loopback(port);
  if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || listen(fd, SOMAXCONN) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("link emulator: port " + std::to_string(port) + " on 127.0.0.1 is taken");
  }
  return fd;
}

// A blocking connect: on loopback it is done at once.
int ConnectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in a = Loopback(port);
  if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

timespec Timeout(std::optional<LinkTime> due, LinkTime now) {
  // Without anything due the loop still looks again now and then; a stop wakes it at once.
  const auto wait = std::clamp<Clock::duration>(due ? *due - now : Clock::duration::max(), Clock::duration::zero(),
                                                std::chrono::milliseconds(200));
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
  return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

std::optional<LinkTime> Earlier(std::optional<LinkTime> a, std::optional<LinkTime> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

// A client's connection and the relay's own to the service. A new connection waits one
// round trip before the client may send (its handshake) and the service side half a round
// trip more (the handshake's last packet reaches it then).
struct Connection {
  Connection(int clientFd, int serviceFd, LinkClock& up, LinkClock& down, LinkTime accepted)
      : client(clientFd),
        service(serviceFd),
        upward(clientFd, serviceFd, up, accepted + 2 * up.delay()),
        downward(serviceFd, clientFd, down, accepted + 2 * up.delay() + down.delay()) {}
  Fd client, service;
  LinkFlow upward, downward;
  bool ended() const { return upward.ended() && downward.ended(); }
};

short Events(const LinkFlow& reading, const LinkFlow& writing) {
  return static_cast<short>((reading.wantsRead() ? POLLIN : 0) | (writing.wantsWrite() ? POLLOUT : 0));
}

// A socket is left out of the poll while nothing is wanted of it: a hang-up would
// otherwise wake the loop again and again.
pollfd Watch(int fd, short events) { return {events ? fd : -1, events, 0}; }

void Handle(short revents, LinkFlow& reading, LinkFlow& writing, LinkTime now) {
  if (revents & (POLLIN | POLLHUP | POLLERR) && reading.wantsRead()) reading.read(now);
  if (revents & (POLLOUT | POLLHUP | POLLERR) && writing.wantsWrite()) writing.writable();
}

}  // namespace

class LinkEmulator::Loop {
 public:
  Loop(int target, const LinkSettings& s, int port)
      : target_(target),
        listen_(Listen(port)),
        wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
        up_(s.upBytesPerSecond(), s.oneWay),
        down_(s.downBytesPerSecond(), s.oneWay) {}

  int port() const {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    getsockname(listen_.get(), reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
  }

  void run() {
    while (!stop_) turn();
  }

  void stop() {
    stop_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = write(wake_.get(), &one, sizeof one);
  }

 private:
  void turn() {
    std::vector<pollfd> fds = {{wake_.get(), POLLIN, 0}, {listen_.get(), POLLIN, 0}};
    std::optional<LinkTime> due;
    for (const auto& c : connections_) {
      fds.push_back(Watch(c->client.get(), Events(c->upward, c->downward)));
      fds.push_back(Watch(c->service.get(), Events(c->downward, c->upward)));
      due = Earlier(due, Earlier(c->upward.nextDue(), c->downward.nextDue()));
    }
    const timespec timeout = Timeout(due, Clock::now());
    if (ppoll(fds.data(), fds.size(), &timeout, nullptr) < 0) return;
    LinkTime now = Clock::now();
    for (std::size_t i = 0; i < connections_.size(); ++i) {
      Connection& c = *connections_[i];
      Handle(fds[2 + 2 * i].revents, c.upward, c.downward, now);
      Handle(fds[3 + 2 * i].revents, c.downward, c.upward, now);
    }
    if (fds[1].revents & POLLIN) accept(now);
    now = Clock::now();
    for (const auto& c : connections_) {
      c->upward.release(now);
      c->downward.release(now);
    }
    std::erase_if(connections_, [](const auto& c) { return c->ended(); });
  }

  void accept(LinkTime now) {
    for (;;) {
      const int client = accept4(listen_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (client < 0) return;
      const int service = ConnectTo(target_);
      if (service < 0) {
        close(client);
        continue;
      }
      NonBlocking(service);
      NoDelay(client);
      NoDelay(service);
      connections_.push_back(std::make_unique<Connection>(client, service, up_, down_, now));
    }
  }

  const int target_;
  Fd listen_, wake_;
  LinkClock up_, down_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::atomic<bool> stop_{false};
};

LinkEmulator::LinkEmulator(int target, const LinkSettings& settings, int port)
    : settings_(settings), loop_(std::make_unique<Loop>(target, settings, port)) {
  thread_ = std::thread([this] { loop_->run(); });
}

LinkEmulator::~LinkEmulator() {
  loop_->stop();
  thread_.join();
}

int LinkEmulator::port() const { return loop_->port(); }

}  // namespace cvu::bench
