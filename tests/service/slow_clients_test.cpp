// Many clients that trickle their requests byte by byte must not keep a new client waiting.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "raw_connection.h"
#include "service/photo_service.h"
#include "support/test_support.h"

namespace cvu {
namespace {
using namespace std::chrono_literals;

TEST(SlowClients, ANewClientIsAnsweredWhileTwoHundredOthersTrickle) {
  test::TempDir data;
  service::PhotoService service{{data.path(), "5.9"}};
  const int port = service.start(0);
  ASSERT_GT(port, 0);

  std::vector<std::unique_ptr<test::RawConnection>> slow;
  for (int i = 0; i < 200; ++i) {
    slow.push_back(std::make_unique<test::RawConnection>(port));
    ASSERT_TRUE(slow.back()->connected());
    slow.back()->send("GET //cvuversion.txt HTTP/1.1\r\nHost: localhost\r\nX-Slow: ");
  }
  // Each slow client sends one more header byte every half second, well inside any read time-out.
  std::atomic<bool> trickling{true};
  std::thread trickler([&] {
    while (trickling) {
      for (auto& c : slow) c->send("a");
      std::this_thread::sleep_for(500ms);
    }
  });
  std::this_thread::sleep_for(1s);  // the slow clients have all been taken in

  test::RawConnection client(port);
  client.send("GET //cvuversion.txt HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
  const std::string answer = client.readUntilClosed(10s);
  trickling = false;
  trickler.join();
  slow.clear();
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK")) << "answer: " << answer.substr(0, 60);
  EXPECT_TRUE(answer.ends_with("\r\n\r\n5.9")) << answer.substr(0, 200);
}

}  // namespace
}  // namespace cvu
