// Clients that trickle their requests byte by byte, or connect and send nothing, must not keep
// a new client waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "raw_connection.h"
#include "service/photo_service.h"
#include "support/test_support.h"

namespace cvu {
namespace {
using namespace std::chrono_literals;

class SlowClientsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GT(port = service.start(0), 0); }

  void OpenSlowClients(int count, const std::string& firstBytes) {
    for (int i = 0; i < count; ++i) {
      slow.push_back(std::make_unique<test::RawConnection>(port));
      ASSERT_TRUE(slow.back()->connected());
      slow.back()->send(firstBytes);
    }
  }
  // A new client's request, with a bound on the wait; the whole answer or what came of it.
  std::string NewClientAsksForTheVersion() {
    test::RawConnection client(port);
    client.send("GET //cvuversion.txt HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
    return client.readUntilClosed(10s);
  }
  static void ExpectVersionAnswer(const std::string& answer) {
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK")) << "answer: " << answer.substr(0, 60);
    EXPECT_TRUE(answer.ends_with("\r\n\r\n5.9")) << answer.substr(0, 200);
  }

  test::TempDir data;
  service::PhotoService service{{data.path(), "5.9"}};
  int port = 0;
  std::vector<std::unique_ptr<test::RawConnection>> slow;
};

TEST_F(SlowClientsTest, ANewClientIsAnsweredWhileTwoHundredOthersTrickle) {
  OpenSlowClients(200, "GET //cvuversion.txt HTTP/1.1\r\nHost: localhost\r\nX-Slow: ");
  // Each slow client sends one more header byte every half second, well inside any read time-out.
  std::atomic<bool> trickling{true};
  std::thread trickler([&] {
    while (trickling) {
      for (auto& c : slow) c->send("a");
      std::this_thread::sleep_for(500ms);
    }
  });
  std::this_thread::sleep_for(1s);  // the slow clients have all been taken in
  const std::string answer = NewClientAsksForTheVersion();
  trickling = false;
  trickler.join();
  ExpectVersionAnswer(answer);
}

TEST_F(SlowClientsTest, ANewClientIsAnsweredWhileTwoHundredOthersIdle) {
  OpenSlowClients(200, "");
  std::this_thread::sleep_for(200ms);
  ExpectVersionAnswer(NewClientAsksForTheVersion());
}

}  // namespace
}  // namespace cvu
