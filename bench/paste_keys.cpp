#include "paste_keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <stdexcept>

namespace cvu::bench {

void PressCtrlV(_XDisplay* d, XWindow window) {
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(d, &event, &error, &major, &minor)) throw std::runtime_error("the X server has no XTest");
  // No window manager runs on the benchmark's display: the focus is set as a click would.
  XSetInputFocus(d, window, RevertToParent, CurrentTime);
  const KeyCode control = XKeysymToKeycode(d, XK_Control_L), v = XKeysymToKeycode(d, XK_v);
  XTestFakeKeyEvent(d, control, True, CurrentTime);
  XTestFakeKeyEvent(d, v, True, CurrentTime);
  XTestFakeKeyEvent(d, v, False, CurrentTime);
  XTestFakeKeyEvent(d, control, False, CurrentTime);
  XSync(d, False);
}

}  // namespace cvu::bench
