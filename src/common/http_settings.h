#pragma once
// How long a request may take to connect, stall or answer, and the stop every request
// made with these settings watches.
#include <chrono>
#include <memory>

#include "common/abort_signal.h"

namespace cvu {

struct HttpSettings {
  // A connection (name lookup included) that is not made within this time fails.
  std::chrono::milliseconds connectTimeout{30000};
  // A connected exchange that moves no byte, in either direction, for this long fails.
  std::chrono::milliseconds stallTimeout{60000};
  // A request whose answer is not whole this long after it began fails, however steadily
  // its bytes come (redirects followed count in). The time its body takes to send is not
  // counted: while it goes out, only the no-data rule above applies.
  std::chrono::milliseconds answerTimeout{120000};
  // Optional shared stop (e.g. the program's shutdown); null for none.
  std::shared_ptr<AbortSignal> abort;
};

}  // namespace cvu
