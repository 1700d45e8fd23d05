#pragma once
// Modal dialogs of the desktop.
#include <optional>
#include <string>
#include <vector>

namespace cvu {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A plain message box with an OK button.
  virtual void showMessage(const std::string& text) = 0;
  // A question box with Yes and No, captioned; true for Yes.
  virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
  // Save-file dialog: proposed name, one filter; no default extension, no overwrite
  // question. Empty when the user cancels.
  virtual std::optional<std::string> saveFile(const std::string& proposedName, const std::string& filterName,
                                              const std::string& filterPattern) = 0;
  // Open-file dialog with multi-select; the filter in the "Name|*.a;*.b|..." form.
  // Empty when the user cancels.
  virtual std::vector<std::string> openFiles(const std::string& filter) = 0;
};

}  // namespace cvu
