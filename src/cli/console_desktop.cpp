#include "cli/console_desktop.h"

#include "common/text.h"

namespace cvu::cli {

// A message box's text on standard error, its line breaks as the terminal's.
void ConsoleDialogs::showMessage(const std::string& text) {
  ++shown;
  out << "corvane-upload: " << ReplaceAll(text, "\r\n", "\n") << '\n' << std::flush;
}

}  // namespace cvu::cli
