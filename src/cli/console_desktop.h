#pragma once
// The desktop services the core asks for, as a command-line program has them: message
// boxes become lines on standard error, and nothing reaches the clipboard.
#include <ostream>
#include <string>

#include "common/clipboard.h"
#include "common/dialogs.h"

namespace cvu::cli {

// The group-end action is switched off and the templates' own copy is not wanted: the
// texts go to standard output instead.
struct SilentClipboard : Clipboard {
  void setText(const std::string&) override {}
};

struct ConsoleDialogs : Dialogs {
  explicit ConsoleDialogs(std::ostream& err) : out(err) {}
  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> saveFile(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::vector<std::string> openFiles(const std::string&) override { return {}; }

  std::ostream& out;
  int shown = 0;
};

}  // namespace cvu::cli
