#include "x_tray_host.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace cvu::test {

Xvfb::Xvfb() {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "800x600x24",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string text;
  pollfd p{fds[0], POLLIN, 0};
  char buffer[16];
  while (text.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  if (text.find('\n') == std::string::npos) throw std::runtime_error("Xvfb did not start (is xvfb installed?)");
  display_ = ":" + text.substr(0, text.find('\n'));
}

Xvfb::~Xvfb() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

TrayHost::TrayHost(const std::string& display) : d_(XOpenDisplay(display.c_str())) {
  if (d_ == nullptr) throw std::runtime_error("cannot open " + display);
  const Window root = DefaultRootWindow(d_);
  window_ = XCreateSimpleWindow(d_, root, 0, 0, 1, 1, 0, 0, 0);
  const Atom selection = XInternAtom(d_, "_NET_SYSTEM_TRAY_S0", False);
  XSetSelectionOwner(d_, selection, window_, CurrentTime);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = root;
  event.xclient.message_type = XInternAtom(d_, "MANAGER", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = CurrentTime;
  event.xclient.data.l[1] = static_cast<long>(selection);
  event.xclient.data.l[2] = static_cast<long>(window_);
  XSendEvent(d_, root, False, StructureNotifyMask, &event);
  XFlush(d_);
}

TrayHost::~TrayHost() {
  XDestroyWindow(d_, window_);
  XCloseDisplay(d_);
}

}  // namespace cvu::test
