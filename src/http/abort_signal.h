#pragma once
// A stop request for HTTP requests in flight, e.g. when the program closes during
// an upload. abort() may be called from any thread; every request watching the
// signal ends within moments with a failure, and later requests fail at once.
#include <curl/curl.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace cvu {

class AbortSignal {
 public:
  void abort();
  bool aborted() const { return aborted_.load(); }

  // A waiting request registers its multi handle so abort() can wake it.
  void attach(CURLM* waiter);
  void detach(CURLM* waiter);

 private:
  std::atomic<bool> aborted_{false};
  std::mutex mutex_;
  std::vector<CURLM*> waiters_;  // guarded by mutex_
};

}  // namespace cvu
