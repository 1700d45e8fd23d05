#include "link_flow.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace cvu::bench {

LinkClock::LinkClock(double bytesPerSecond, std::chrono::nanoseconds delay)
    : bytesPerSecond_(bytesPerSecond), delay_(delay) {
  chunk_ = std::clamp<std::size_t>(static_cast<std::size_t>(bytesPerSecond * 0.002), 1460, 65536);
  const double inFlight = bytesPerSecond * std::chrono::duration<double>(delay).count();
  window_ = std::max<std::size_t>(static_cast<std::size_t>(2 * inFlight) + 65536, 131072);
}

LinkTime LinkClock::schedule(LinkTime ready, std::size_t bytes) {
  const LinkTime start = std::max(ready, free_);
  free_ = start + std::chrono::duration_cast<LinkTime::duration>(
                      std::chrono::duration<double>(static_cast<double>(bytes) / bytesPerSecond_));
  return free_ + delay_;
}

LinkFlow::LinkFlow(int from, int to, LinkClock& link, LinkTime gate) : from_(from), to_(to), link_(link), gate_(gate) {}

std::optional<LinkTime> LinkFlow::nextDue() const {
  if (queue_.empty() || blocked_) return std::nullopt;
  return queue_.front().due;
}

void LinkFlow::read(LinkTime now) {
  char buffer[65536];
  const ssize_t n = recv(from_, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  const LinkTime ready = std::max(now, gate_);
  if (n <= 0) {  // end of stream, or the sender is gone: either way nothing more comes
    readEnded_ = true;
    queue_.push_back({ready + link_.delay(), {}});
    return;
  }
  schedule(ready, buffer, static_cast<std::size_t>(n));
}

void LinkFlow::schedule(LinkTime ready, const char* data, std::size_t size) {
  for (std::size_t at = 0; at < size; at += link_.chunkBytes()) {
    const std::size_t piece = std::min(link_.chunkBytes(), size - at);
    queue_.push_back({link_.schedule(ready, piece), std::string(data + at, piece)});
    queued_ += piece;
  }
}

void LinkFlow::release(LinkTime now) {
  while (!blocked_ && !queue_.empty() && queue_.front().due <= now) {
    Chunk& head = queue_.front();
    if (head.bytes.empty()) {
      shutdown(to_, SHUT_WR);
      ended_ = true;
      queue_.pop_front();
      continue;
    }
    const ssize_t n = send(to_, head.bytes.data() + sent_, head.bytes.size() - sent_, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      queue_.clear();
      queued_ = sent_ = 0;
      readEnded_ = ended_ = true;
      return;
    }
    sent_ += static_cast<std::size_t>(std::max<ssize_t>(n, 0));
    if (sent_ < head.bytes.size()) {
      blocked_ = true;  // the receiver's buffer is full: wait until it takes more
      break;
    }
    queued_ -= head.bytes.size();
    sent_ = 0;
    queue_.pop_front();
  }
}

}  // namespace cvu::bench
