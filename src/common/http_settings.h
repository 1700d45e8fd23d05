#pragma once
// How long a request may take to connect or stall, and the stop every request made
// with these settings watches.
#include <chrono>
#include <memory>

#include "common/abort_signal.h"

namespace cvu {

struct HttpSettings {
  // A connection (name lookup included) that is not made within this time fails.
  std::chrono::milliseconds connectTimeout{30000};
  // A connected exchange that moves no byte, in either direction, for this long fails.
  std::chrono::milliseconds stallTimeout{60000};
  // Optional shared stop (e.g. the program's shutdown); null for none.
  std::shared_ptr<AbortSignal> abort;
};

}  // namespace cvu
