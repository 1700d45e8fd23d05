#pragma once
// A loopback listener that plays a script of canned answers: it reads each request's
// exact bytes (the header block and a Content-Length body), from whichever connection
// sends it, answers with the next canned bytes and, where the script says so, closes
// that connection. Requests beyond the script are kept too and answered with a 599
// status, so a client that asks more than expected neither hangs nor goes unnoticed.
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cvu::test {

struct CannedAnswer {
  std::string bytes;
  bool closeAfter = true;  // close the connection once the answer is sent
};

struct ReceivedRequest {
  std::string bytes;
  int connection = 0;  // 1 for the first connection accepted, 2 for the next, ...
};

// The status line sent for a request beyond the script.
inline constexpr const char* kUnscriptedStatus = "HTTP/1.1 599 Unscripted Request";

class ScriptedListener {
 public:
  // Binds a free loopback port; nothing is accepted before serve().
  ScriptedListener();
  ~ScriptedListener();
  ScriptedListener(const ScriptedListener&) = delete;
  ScriptedListener& operator=(const ScriptedListener&) = delete;

  int port() const { return port_; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(const std::string& target) const { return "http://" + host() + target; }

  // Starts answering on a thread of its own. Call once.
  void serve(std::vector<CannedAnswer> script);
  // The requests read so far, in the order they were complete.
  std::vector<ReceivedRequest> received() const;
  // Waits until count requests were read or the time is up; returns those read.
  std::vector<ReceivedRequest> waitFor(std::size_t count, std::chrono::milliseconds limit);

 private:
  struct Connection;
  void run(std::vector<CannedAnswer> script);
  bool readInto(Connection& connection);
  void answer(Connection& connection, const CannedAnswer& canned);

  int listenFd_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<ReceivedRequest> received_;
};

// Length of the first whole request at the start of bytes (header block and announced
// body), or 0 while it is incomplete.
std::size_t CompleteRequestLength(const std::string& bytes);

}  // namespace cvu::test
