#pragma once
// The user's Ctrl+V into a window on the X display: the window is given the input focus,
// then the keys are pressed and released through XTest, as a keyboard would.
#include "x_display.h"

namespace cvu::bench {

// Throws when the display has no XTest.
void PressCtrlV(_XDisplay* display, XWindow window);

}  // namespace cvu::bench
