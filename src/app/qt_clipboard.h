#pragma once
// The desktop clipboard through Qt.
#include "common/clipboard.h"

namespace cvu {

// Puts the text on the system clipboard. Windows keeps the user's language beside
// clipboard text as a separate entry; X11, Wayland and the offscreen platform have no
// such entry, so there only the text is stored.
class QtClipboard : public Clipboard {
 public:
  void setText(const std::string& utf8) override;
};

}  // namespace cvu
