#include "x_display.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>

namespace cvu::bench {
namespace {

// Xvfb writes the display number it took to this descriptor once it accepts clients.
std::string ReadDisplayNumber(int fd, int timeoutMs) {
  std::string text;
  pollfd p{fd, POLLIN, 0};
  while (text.find('\n') == std::string::npos) {
    if (poll(&p, 1, timeoutMs) <= 0) throw std::runtime_error("Xvfb did not start within 10 s (is xvfb installed?)");
    char buffer[32];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) throw std::runtime_error("Xvfb ended before it took a display (is xvfb installed?)");
    text.append(buffer, static_cast<std::size_t>(n));
  }
  std::string display = ":";
  display.append(text, 0, text.find('\n'));
  return display;
}

struct Pipe {
  int fds[2] = {-1, -1};
  Pipe() {
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~Pipe() {
    for (const int fd : fds) {
      if (fd >= 0) close(fd);
    }
  }
};

long PidOf(Display* d, Window w, Atom pidAtom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      data && count == 1 && format == 32) {
    pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data) XFree(data);
  return pid;
}

// A window may be gone by the time its map event is read: its requests fail, the run goes on.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

XvfbServer::XvfbServer() {
  Pipe ready;
  ChildSetup setup;
  setup.argv = {"Xvfb", "-displayfd", std::to_string(ready.fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"};
  setup.inheritFd = ready.fds[1];
  server_ = std::make_unique<ChildProcess>(setup);
  close(ready.fds[1]);
  ready.fds[1] = -1;
  display_ = ReadDisplayNumber(ready.fds[0], 10000);
}

void DisplayCloser::operator()(_XDisplay* d) const { XCloseDisplay(d); }

DisplayPtr OpenDisplay(const std::string& name) {
  DisplayPtr d(XOpenDisplay(name.c_str()));
  if (!d) throw std::runtime_error("cannot open X display " + name);
  return d;
}

MapWatch::MapWatch(const std::string& display) : display_(OpenDisplay(display)) {
  XSetErrorHandler(IgnoreXError);
  pidAtom_ = XInternAtom(display_.get(), "_NET_WM_PID", False);
  XSelectInput(display_.get(), DefaultRootWindow(display_.get()), SubstructureNotifyMask);
  XSync(display_.get(), False);
}

std::optional<XWindow> MapWatch::mapped(pid_t pid) {
  Display* d = display_.get();
  XSync(d, False);  // every event the server sent up to now is queued
  while (XPending(d) > 0) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != MapNotify || e.xmap.event != DefaultRootWindow(d)) continue;
    if (PidOf(d, e.xmap.window, pidAtom_) != pid) continue;
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, e.xmap.window, &a)) continue;
    const long area = static_cast<long>(a.width) * a.height;
    if (area > area_) {
      area_ = area;
      window_ = e.xmap.window;
    }
  }
  return window_;
}

}  // namespace cvu::bench
