#pragma once
// A relay on loopback that makes the connections through it behave as over a user's
// internet link: every byte-chunk reaches the other side a one-way delay after its turn at
// the link's rate, the rate of each direction is shared by all connections, and a new
// connection waits one round trip (TCP's handshake) before its first request byte goes
// out. Listens on 127.0.0.1 only and connects only to 127.0.0.1.
#include <chrono>
#include <memory>
#include <thread>

namespace cvu::bench {

struct LinkSettings {
  std::chrono::microseconds oneWay{25'000};  // each direction's delay
  double upMbit = 20;                        // client -> service, megabits per second, shared
  double downMbit = 100;                     // service -> client, shared
  double roundTripSeconds() const { return 2 * std::chrono::duration<double>(oneWay).count(); }
  double upBytesPerSecond() const { return upMbit * 1e6 / 8; }
  double downBytesPerSecond() const { return downMbit * 1e6 / 8; }
};

class LinkEmulator {
 public:
  // Listens on 127.0.0.1:port (0: a free one) and relays every connection to 127.0.0.1:target.
  // Throws when the port is taken.
  LinkEmulator(int target, const LinkSettings& settings, int port = 0);
  // Closes every connection still open and ends the relay's thread.
  ~LinkEmulator();
  LinkEmulator(const LinkEmulator&) = delete;
  LinkEmulator& operator=(const LinkEmulator&) = delete;

  int port() const;
  const LinkSettings& settings() const { return settings_; }

  class Loop;

 private:
  LinkSettings settings_;
  std::unique_ptr<Loop> loop_;
  std::thread thread_;
};

}  // namespace cvu::bench
