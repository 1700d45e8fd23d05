#include "http/curl_handles.h"

namespace cvu {

void EnsureCurlInitialised() { Curl(); }

}  // namespace cvu
