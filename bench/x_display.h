#pragma once
// The X display the GUI benchmarks run their children on: a private Xvfb server for the
// whole run, and a watch on its root window that sees a process's window being mapped.
#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "child_process.h"

// Xlib's types by their own names, without its header's macros (they clash with other
// headers of the benchmarks).
struct _XDisplay;

namespace cvu::bench {

using XWindow = unsigned long;

// Xvfb on the first free display (it picks the number itself, -displayfd), 1280 x 1024 x 24.
class XvfbServer {
 public:
  XvfbServer();
  const std::string& display() const { return display_; }  // ":N"

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string display_;
};

struct DisplayCloser {
  void operator()(_XDisplay* d) const;
};
using DisplayPtr = std::unique_ptr<_XDisplay, DisplayCloser>;

DisplayPtr OpenDisplay(const std::string& name);

// Watches the root window's children from construction on: open it before the child
// starts so its mapping is not missed.
class MapWatch {
 public:
  explicit MapWatch(const std::string& display);
  // Reads the events that have come; the largest top-level window of pid mapped so far.
  std::optional<XWindow> mapped(pid_t pid);
  _XDisplay* display() const { return display_.get(); }

 private:
  DisplayPtr display_;
  unsigned long pidAtom_;  // Atom
  std::optional<XWindow> window_;
  long area_ = 0;
};

}  // namespace cvu::bench
