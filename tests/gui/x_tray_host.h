#pragma once
// An X display of a test's own and a notification area on it that the test starts and
// stops, as a desktop panel comes and goes. Kept apart from the Qt code: Xlib's macros
// clash with Qt's headers.
#include <sys/types.h>

#include <memory>
#include <string>

struct _XDisplay;

namespace cvu::test {

// Xvfb on a free display (it picks the number, -displayfd), ended with the object.
class Xvfb {
 public:
  Xvfb();
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A notification area as a desktop panel offers it: the owner of the screen's tray
// selection, announced to the clients. Destroyed, the area is gone, as when the panel
// is restarted or removed.
class TrayHost {
 public:
  explicit TrayHost(const std::string& display);
  ~TrayHost();
  TrayHost(const TrayHost&) = delete;
  TrayHost& operator=(const TrayHost&) = delete;

 private:
  _XDisplay* d_;
  unsigned long window_ = 0;
};

}  // namespace cvu::test
