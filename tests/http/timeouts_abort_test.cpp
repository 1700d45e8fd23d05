#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "http/http_client.h"
#include "support/test_server.h"
#include "support/test_support.h"

namespace cvu {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// A listening loopback socket with the given receive buffer size (0: the system's).
int ListenOnLoopback(int backlog, int receiveBuffer, sockaddr_in& addr) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len);
  ::listen(fd, backlog);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  return fd;
}

// A loopback port whose accept queue is full, so a new connection is never made.
class BlockedPort {
 public:
  BlockedPort() {
    sockaddr_in addr{};
    listener_ = ListenOnLoopback(0, 0, addr);
    const socklen_t len = sizeof addr;
    port_ = ntohs(addr.sin_port);
    for (int i = 0; i < 3; ++i) {
      const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
      fillers_.push_back(fd);
    }
    std::this_thread::sleep_for(50ms);
  }
  ~BlockedPort() {
    for (int fd : fillers_) ::close(fd);
    ::close(listener_);
  }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::vector<int> fillers_;
};

// Takes one request and reads it with a pause once `before` bytes have arrived, then
// reads the rest and answers with a redirect. Its receive buffer is small, so a larger
// request cannot be handed to the system whole while it pauses.
class PausingReader {
 public:
  PausingReader(std::size_t before, std::chrono::milliseconds pause) {
    sockaddr_in addr{};
    listener_ = ListenOnLoopback(1, 65536, addr);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this, before, pause] { serve(before, pause); });
  }
  ~PausingReader() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }
  std::string url(const std::string& target) const { return "http://127.0.0.1:" + std::to_string(port_) + target; }

 private:
  // Waits up to 100 ms for fd to be readable; false once the test ends.
  bool readable(int fd) const {
    pollfd p{fd, POLLIN, 0};
    while (!stop_) {
      if (::poll(&p, 1, 100) > 0) return true;
    }
    return false;
  }
  void serve(std::size_t before, std::chrono::milliseconds pause) {
    if (!readable(listener_)) return;
    const int fd = ::accept(listener_, nullptr, nullptr);
    std::string request;
    bool paused = false;
    char buffer[65536];
    while (test::CompleteRequestLength(request) == 0 && readable(fd)) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
      if (!paused && request.size() >= before) {
        std::this_thread::sleep_for(pause);
        paused = true;
      }
    }
    const std::string answer =
        "HTTP/1.1 302 Found\r\nLocation: i-slow\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    if (test::CompleteRequestLength(request) > 0) ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    ::close(fd);
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A server whose /slow answer waits until the test lets it go (or 5 s pass).
class SlowServer {
 public:
  SlowServer() {
    server.get("/slow", [this](const test::RecordedRequest&, httplib::Response& res) {
      const auto until = SteadyClock::now() + 5s;
      while (!released && SteadyClock::now() < until) std::this_thread::sleep_for(10ms);
      res.set_content("late", "text/plain");
    });
    server.get("/trickle", [](const test::RecordedRequest&, httplib::Response& res) {
      res.set_chunked_content_provider("text/plain", [](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= 6) {
          sink.done();
          return true;
        }
        std::this_thread::sleep_for(200ms);
        sink.write("ab", 2);
        return true;
      });
    });
    // A redirect, as the upload's answer, whose body comes a byte every 20 ms for at most
    // 10 s: it never stands still long enough to stall.
    const auto drip = [this](const test::RecordedRequest&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "i-drip");
      res.set_chunked_content_provider("text/plain", [this](std::size_t offset, httplib::DataSink& sink) {
        if (released || offset >= 500) {
          sink.done();
          return true;
        }
        std::this_thread::sleep_for(20ms);
        return sink.write("x", 1);
      });
    };
    server.get("/drip", drip);
    server.post("/drip", drip);
    // A redirect whose body stops after its first byte, until the test lets it go (or 5 s pass).
    server.get("/halt", [this](const test::RecordedRequest&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "i-halt");
      res.set_chunked_content_provider("text/plain", [this](std::size_t offset, httplib::DataSink& sink) {
        const auto until = SteadyClock::now() + 5s;
        while (offset > 0 && !released && SteadyClock::now() < until) std::this_thread::sleep_for(10ms);
        if (offset > 0) {
          sink.done();
          return true;
        }
        return sink.write("x", 1);
      });
    });
    server.start();
  }
  ~SlowServer() { released = true; }
  std::atomic<bool> released{false};
  test::TestServer server;
};

std::string FailureOf(const std::function<void()>& request) {
  try {
    request();
  } catch (const HttpError& e) {
    return e.what();
  }
  return "no failure";
}

std::string FailureOf(HttpClient& client, const std::string& url) {
  return FailureOf([&] { client.getText(url); });
}

double SecondsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

TEST(HttpTimeouts, AConnectionThatCannotBeMadeFailsAfterTheConnectTimeout) {
  BlockedPort blocked;
  HttpSettings settings;
  settings.connectTimeout = 300ms;
  HttpClient client(settings);
  const auto start = SteadyClock::now();
  const std::string failure = FailureOf(client, blocked.url());
  // curl words it "... Timeout was reached" or "Connection timeout after 300 ms".
  EXPECT_NE(failure.find("imeout"), std::string::npos) << failure;
  EXPECT_GE(SecondsSince(start), 0.25);
  EXPECT_LT(SecondsSince(start), 2.0);
}

TEST(HttpTimeouts, AnExchangeThatMovesNoByteFailsAfterTheStallTimeout) {
  SlowServer slow;
  HttpSettings settings;
  settings.stallTimeout = 300ms;
  HttpClient client(settings);
  const auto start = SteadyClock::now();
  EXPECT_EQ(FailureOf(client, slow.server.url("/slow")),
            "Operation timed out: no data transferred for 300 milliseconds");
  EXPECT_GE(SecondsSince(start), 0.28);
  EXPECT_LT(SecondsSince(start), 2.0);
  // An answer that stalls in its body keeps the Location its headers brought.
  EXPECT_EQ(FailureOf(client, slow.server.url("/halt")),
            "Operation timed out: no data transferred for 300 milliseconds");
  EXPECT_EQ(client.location(), "i-halt");
}

TEST(HttpTimeouts, ASlowButMovingAnswerIsNotCutOff) {
  SlowServer slow;
  HttpSettings settings;
  settings.stallTimeout = 500ms;  // the answer takes about 0.6 s in steps of 0.2 s
  HttpClient client(settings);
  EXPECT_EQ(client.getText(slow.server.url("/trickle")), "ababab");
}

TEST(HttpTimeouts, AnAnswerThatKeepsMovingFailsAtTheAnswerDeadline) {
  SlowServer slow;
  HttpSettings settings;
  settings.answerTimeout = 300ms;
  const std::string timedOut = "Operation timed out: the answer took longer than 300 milliseconds";
  HttpClient get(settings);
  EXPECT_EQ(FailureOf(get, slow.server.url("/drip")), timedOut);
  HttpClient post(settings);
  MultipartForm form;
  form.addText("inlogin", "true");
  EXPECT_EQ(FailureOf([&] { post.post(slow.server.url("/drip"), form); }), timedOut);
  // The headers had come: an upload's answer still tells where its result is.
  EXPECT_EQ(post.location(), "i-drip");
}

// The time a request body takes to send is not the answer's: a big file over a slow
// link is limited only by the no-data rule while it goes out.
TEST(HttpTimeouts, ABodyStillBeingSentIsNotCutOffByTheAnswerDeadline) {
  test::TempDir dir;
  const std::string path = dir.file("big.png");
  std::ofstream(path, std::ios::binary) << std::string(16 << 20, 'b');
  PausingReader reader(8 << 20, 900ms);
  HttpSettings settings;
  settings.answerTimeout = 300ms;
  HttpClient client(settings);
  MultipartForm form;
  form.addFile("imgfile[]", path, "image/png");
  EXPECT_EQ(FailureOf([&] { client.post(reader.url("//upload.html"), form); }), "HTTP/1.1 302 Found");
  EXPECT_EQ(client.location(), "i-slow");
}

TEST(HttpAbort, AbortFromAnotherThreadEndsTheRequestWithinASecond) {
  SlowServer slow;
  HttpClient client;
  SteadyClock::time_point aborted;
  std::thread stopper([&] {
    std::this_thread::sleep_for(200ms);
    aborted = SteadyClock::now();
    client.abort();
  });
  const std::string failure = FailureOf(client, slow.server.url("/slow"));
  const double afterAbort = SecondsSince(aborted);
  stopper.join();
  EXPECT_EQ(failure, "Operation was aborted by an application callback");
  EXPECT_LT(afterAbort, 1.0);
  // An aborted client makes no further requests.
  slow.released = true;
  EXPECT_EQ(FailureOf(client, slow.server.url("/slow")), "Operation was aborted by an application callback");
}

TEST(HttpAbort, ASharedSignalStopsAConnectInProgressAndLaterClients) {
  BlockedPort blocked;
  HttpSettings settings;
  settings.abort = std::make_shared<AbortSignal>();
  HttpClient client(settings);
  std::thread stopper([&] {
    std::this_thread::sleep_for(200ms);
    settings.abort->abort();
  });
  const auto start = SteadyClock::now();
  const std::string failure = FailureOf(client, blocked.url());
  stopper.join();
  EXPECT_EQ(failure, "Operation was aborted by an application callback");
  EXPECT_LT(SecondsSince(start), 1.2);
  HttpClient later(settings);
  EXPECT_EQ(FailureOf(later, blocked.url()), "Operation was aborted by an application callback");
}

TEST(HttpWaitHook, IsCalledRepeatedlyOnTheRequestingThreadAndCanAbort) {
  SlowServer slow;
  HttpClient client;
  int calls = 0;
  bool sameThread = true;
  const auto caller = std::this_thread::get_id();
  const auto start = SteadyClock::now();
  client.setWaitHook([&] {
    ++calls;
    sameThread = sameThread && std::this_thread::get_id() == caller;
    if (SecondsSince(start) > 0.3) client.abort();  // e.g. the window is closed meanwhile
  });
  EXPECT_EQ(FailureOf(client, slow.server.url("/slow")), "Operation was aborted by an application callback");
  EXPECT_TRUE(sameThread);
  // Rounds follow each other closely, so the window never waits long for its events.
  EXPECT_GT(calls, 20);
  EXPECT_LT(SecondsSince(start), 1.0);
}

}  // namespace
}  // namespace cvu
