#pragma once
// Progress of one exchange, reported on the thread that runs the request: first for
// the request body (when there is one), then for the answer's body.
#include <cstdint>
#include <functional>

namespace cvu {

enum class TransferDirection { Send, Receive };

struct TransferEvents {
  // expected: the byte count announced for the transfer, -1 when the answer names none.
  std::function<void(TransferDirection, std::int64_t expected)> begin;
  std::function<void(TransferDirection, std::int64_t soFar)> progress;
  std::function<void(TransferDirection)> end;
};

}  // namespace cvu
