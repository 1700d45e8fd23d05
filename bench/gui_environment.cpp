#include "gui_environment.h"

#include <cstdlib>

namespace cvu::bench {

GuiEnvironment::GuiEnvironment() {
  // Qt takes a runtime folder only when no one else may enter it.
  std::filesystem::permissions(runtime_.path(), std::filesystem::perms::owner_all);
  variables_ = {{"DISPLAY", x_.display()},
                {"QT_QPA_PLATFORM", "xcb"},
                {"HOME", home_.path().string()},
                {"XDG_RUNTIME_DIR", runtime_.path().string()}};
}

void GuiEnvironment::adopt() const {
  for (const auto& [name, value] : variables_) setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace cvu::bench
