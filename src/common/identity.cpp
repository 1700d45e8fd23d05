#include "common/identity.h"

#include <mutex>

namespace cvu {
namespace {

struct HostValue {
  std::mutex mutex;
  std::string host = kDefaultServiceHost;
};

HostValue& Host() {
  static HostValue value;
  return value;
}

}  // namespace

std::string ServiceHost() {
  std::lock_guard lock(Host().mutex);
  return Host().host;
}

void SetServiceHost(const std::string& host) {
  std::lock_guard lock(Host().mutex);
  Host().host = host;
}

std::string ServiceHomePage() { return "http://" + ServiceHost(); }

}  // namespace cvu
