#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "http/http_client.h"
#include "support/test_server.h"

namespace cvu {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// A loopback port whose accept queue is full, so a new connection is never made.
class BlockedPort {
 public:
  BlockedPort() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), len);
    ::listen(listener_, 0);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
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
    server.start();
  }
  ~SlowServer() { released = true; }
  std::atomic<bool> released{false};
  test::TestServer server;
};

std::string FailureOf(HttpClient& client, const std::string& url) {
  try {
    client.getText(url);
  } catch (const HttpError& e) {
    return e.what();
  }
  return "no failure";
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
}

TEST(HttpTimeouts, ASlowButMovingAnswerIsNotCutOff) {
  SlowServer slow;
  HttpSettings settings;
  settings.stallTimeout = 500ms;  // the answer takes about 0.6 s in steps of 0.2 s
  HttpClient client(settings);
  EXPECT_EQ(client.getText(slow.server.url("/trickle")), "ababab");
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
