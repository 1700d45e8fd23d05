#pragma once
// One direction of the emulated link: the clock that hands out turns at its rate to the
// chunks of every connection, and one connection's flow of chunks waiting for their time.
#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace cvu::bench {

using LinkTime = std::chrono::steady_clock::time_point;

// A virtual clock per direction: a chunk's turn starts when it is ready and the link has
// sent everything before it, lasts its bytes at the rate, and the chunk arrives a one-way
// delay after its turn ends.
class LinkClock {
 public:
  LinkClock(double bytesPerSecond, std::chrono::nanoseconds delay);
  // When a chunk of this size, ready at `ready`, reaches the far side.
  LinkTime schedule(LinkTime ready, std::size_t bytes);
  std::chrono::nanoseconds delay() const { return delay_; }
  // Chunks are cut to about 2 ms at the rate, so one connection's large write does not
  // arrive in one piece long after its first byte would.
  std::size_t chunkBytes() const { return chunk_; }
  // What one connection may have read but not yet passed on: enough to keep the link busy
  // through the delay, and no more, so a new connection's request waits behind little.
  std::size_t windowBytes() const { return window_; }

 private:
  double bytesPerSecond_;
  std::chrono::nanoseconds delay_;
  std::size_t chunk_;
  std::size_t window_;
  LinkTime free_{};
};

// The bytes one side of a connection sends, read from its socket and written to the other
// side's socket when their time comes; the sender's end of stream follows the last chunk.
class LinkFlow {
 public:
  // Nothing leaves before `gate` (the sender's side of the handshake is not done).
  LinkFlow(int from, int to, LinkClock& link, LinkTime gate);

  bool wantsRead() const { return !readEnded_ && queued_ < link_.windowBytes(); }
  bool wantsWrite() const { return blocked_; }
  // The time the head chunk is due, unless the flow waits for the receiver to take more.
  std::optional<LinkTime> nextDue() const;
  // Reads what the sender has and schedules it.
  void read(LinkTime now);
  // Passes on what is due. When the receiver is gone the rest is dropped and nothing more
  // is read, as a reset would end it; the other direction still delivers what it has.
  void release(LinkTime now);
  void writable() { blocked_ = false; }
  bool ended() const { return ended_; }  // the end of stream was passed on, or the receiver is gone

 private:
  void schedule(LinkTime ready, const char* data, std::size_t size);

  struct Chunk {
    LinkTime due;
    std::string bytes;  // empty: the sender's end of stream
  };
  int from_, to_;
  LinkClock& link_;
  LinkTime gate_;
  std::deque<Chunk> queue_;
  std::size_t queued_ = 0;  // bytes read and not yet passed on
  std::size_t sent_ = 0;    // bytes of the head chunk already passed on
  bool readEnded_ = false;
  bool blocked_ = false;
  bool ended_ = false;
};

}  // namespace cvu::bench
