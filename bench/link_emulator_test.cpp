// The link emulator's accuracy: requests through it to the sink take the round trips and
// the time at the rate that the same requests would take over the link it stands for.
// Timed, so the delay and the sizes are large (a 100 ms round trip, 4 MiB at 20 Mbit/s)
// against a loaded machine's scheduling noise, and each case is the best of up to three
// tries: noise only ever adds time, while a fault of the emulator shows in every try.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "link_emulator.h"
#include "sink_server.h"

namespace cvu::bench {
namespace {

using Clock = std::chrono::steady_clock;

// One POST of `bytes` body bytes on a new connection; the answer's first line.
std::string Exchange(int port, std::size_t bytes) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
    const std::string request =
        "POST //upload.html HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
        "Content-Type: application/octet-stream\r\nContent-Length: " +
        std::to_string(bytes) + "\r\n\r\n" + std::string(bytes, 'x');
    for (std::size_t at = 0; at < request.size();) {
      const ssize_t n = send(fd, request.data() + at, request.size() - at, MSG_NOSIGNAL);
      if (n <= 0) break;
      at += static_cast<std::size_t>(n);
    }
    char buffer[4096];
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return answer.substr(0, answer.find("\r\n"));
}

struct Case {
  const char* what;
  int connections;    // made at once, each with one request
  std::size_t bytes;  // body bytes of each request
  double roundTrips;  // the handshake and the request
};

// Seconds from the first connect to the last answer's end of all the case's exchanges.
double Timed(int port, const Case& c) {
  std::vector<std::string> answers(static_cast<std::size_t>(c.connections));
  const auto start = Clock::now();
  std::vector<std::thread> clients;
  for (auto& answer : answers) clients.emplace_back([&answer, port, &c] { answer = Exchange(port, c.bytes); });
  for (auto& t : clients) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (const auto& answer : answers) EXPECT_EQ(answer, "HTTP/1.1 302 Found") << c.what;
  return seconds;
}

TEST(LinkEmulator, TakesTheLinksRoundTripsAndSharedRate) {
  const LinkSettings link{std::chrono::milliseconds(50), 20, 100};
  const double rtt = link.roundTripSeconds();
  const std::size_t mib = 1 << 20;
  const Case cases[] = {
      {"a small request and its answer on a new connection", 1, 100, 2},
      {"a request of a round trip's bytes: the handshake comes before its first byte", 1, 256 * 1024, 2},
      {"a 4 MiB upload: the handshake, the request, its bytes at the upstream rate", 1, 4 * mib, 2},
      {"two 2 MiB uploads at once share the upstream rate", 2, 2 * mib, 2},
  };
  SinkServer sink;
  LinkEmulator emulator(sink.port(), link);
  for (const Case& c : cases) {
    const double expected = c.roundTrips * rtt + double(c.connections * c.bytes) / link.upBytesPerSecond();
    double best = Timed(emulator.port(), c);
    for (int attempt = 1; attempt < 3 && std::abs(best - expected) > 0.1 * expected; ++attempt) {
      best = std::min(best, Timed(emulator.port(), c));
    }
    EXPECT_NEAR(best, expected, 0.1 * expected) << c.what;
  }
}

}  // namespace
}  // namespace cvu::bench
