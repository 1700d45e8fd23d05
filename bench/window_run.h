#pragma once
// The real program as a user runs an upload in it: started on the private X display with a
// copy of a database whose settings start an upload as soon as files are added, its window
// found once mapped and answering, files put on the clipboard as a file manager's copy and
// Ctrl+V pressed in the window. The benchmark is a Qt program on the same display (a
// QGuiApplication must exist), serving the clipboard while the program uploads.
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "child_process.h"
#include "gui_environment.h"
#include "request_tap.h"
#include "x_display.h"

namespace cvu::bench {

// An empty history and the settings that start an upload as soon as files are added.
void MakeAutoUploadDatabase(const std::string& path);

// The program built with these benchmarks.
std::string BuiltProgram();

class WindowRun {
 public:
  // Starts the program (another build of it when named) on a copy of the database;
  // returns once its window answers.
  WindowRun(const GuiEnvironment& env, const std::string& database, const std::string& program = BuiltProgram());
  ~WindowRun();
  WindowRun(const WindowRun&) = delete;
  WindowRun& operator=(const WindowRun&) = delete;

  pid_t pid() const { return child_->pid(); }
  std::string database() const { return folder_.file("cvxas.common.dll"); }
  // Serves its requests to the clipboard for a while, as between the steps of a run.
  void idle(double seconds);
  // Puts the files on the clipboard and presses Ctrl+V in the window.
  void paste(const std::vector<std::string>& files);
  // Serves the clipboard until the tap has seen `pages` result pages, calling `each` about
  // every 10 ms meanwhile; throws when the program ends or `timeout` seconds pass.
  void await(RequestTap& tap, int pages, double timeout, const std::function<void()>& each = {});
  // Once the program answers again with nothing more to send (its last record written),
  // ends it with SIGTERM; throws unless it exits with 0.
  void end();

 private:
  TempFolder folder_{"cvu-bench-window-run"};
  std::string socket_;
  MapWatch watch_;
  std::unique_ptr<ChildProcess> child_;
  XWindow window_ = 0;
};

}  // namespace cvu::bench
