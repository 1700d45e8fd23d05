#pragma once
// The desktop clipboard.
#include <string>

namespace cvu {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the whole content with the text and, where the platform has such an
  // entry, the user's language. Throws std::runtime_error when the clipboard cannot
  // be opened.
  virtual void setText(const std::string& utf8) = 0;
};

// Every text handed to the user for pasting goes through here. Runs on the UI thread.
inline void CopyToClipboard(Clipboard& clipboard, const std::string& text) { clipboard.setText(text); }

}  // namespace cvu
