#pragma once
// What every child of the GUI benchmarks runs in: the private X display, and a home and
// runtime folder of their own, so the program's socket name is known and nothing of the
// user's desktop is touched.
#include <string>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "x_display.h"

namespace cvu::bench {

class GuiEnvironment {
 public:
  GuiEnvironment();
  const std::string& display() const { return x_.display(); }
  std::string runtimeFolder() const { return runtime_.path().string(); }
  // DISPLAY, QT_QPA_PLATFORM=xcb, HOME, XDG_RUNTIME_DIR.
  const std::vector<std::pair<std::string, std::string>>& variables() const { return variables_; }
  // Sets the same variables in this process (for Qt code of the benchmark itself).
  void adopt() const;

 private:
  XvfbServer x_;
  TempFolder home_{"cvu-bench-gui-home"};
  TempFolder runtime_{"cvu-bench-gui-run"};
  std::vector<std::pair<std::string, std::string>> variables_;
};

}  // namespace cvu::bench
