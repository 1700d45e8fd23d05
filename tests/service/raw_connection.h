#pragma once
// A plain TCP connection to a local server on 127.0.0.1, for requests the HTTP client
// would never send: cut-off bodies, lying lengths, trickling headers.
#include <chrono>
#include <string>
#include <string_view>

namespace cvu::test {

class RawConnection {
 public:
  explicit RawConnection(int port);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return fd_ >= 0; }
  // False once the server has closed its side (no SIGPIPE).
  bool send(std::string_view bytes);
  // Ends the sending side: the server reads the end of the stream, as when a client goes away.
  void stopSending();
  // What the server sends until it closes the connection, or until the limit passes.
  std::string readUntilClosed(std::chrono::milliseconds limit);
  // The first line of the answer ("" when none came within the limit).
  std::string readStatusLine(std::chrono::milliseconds limit);
  // Whether the server closed the connection within the limit.
  bool closedWithin(std::chrono::milliseconds limit);

 private:
  // Appends what arrives within the limit to received_; false at the end of the stream or on a timeout.
  bool receiveSome(std::chrono::steady_clock::time_point deadline);

  int fd_ = -1;
  bool ended_ = false;
  std::string received_;
};

}  // namespace cvu::test
