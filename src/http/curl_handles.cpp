#include "http/curl_handles.h"

#include <mutex>
#include <stdexcept>

namespace cvu {

void EnsureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw std::runtime_error("libcurl could not be initialised");
  });
}

}  // namespace cvu
