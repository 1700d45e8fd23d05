#pragma once
// The one source of the current local date and time, injectable so tests can fix it.
#include <functional>

namespace cvu {

struct LocalDateTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime now() const = 0;
};

// Reads the system's local time.
class SystemClock : public Clock {
 public:
  LocalDateTime now() const override;
};

}  // namespace cvu
