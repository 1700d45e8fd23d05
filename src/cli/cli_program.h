#pragma once
// The program without windows as the command line runs it: the settings and templates
// held in the headless main window's controls, the upload options in the headless
// window's, a UI thread that the main thread drains, the system clock, and the activity
// log's list handed to whoever reports the run.
#include <functional>
#include <ostream>
#include <string>

#include "cli/console_desktop.h"
#include "common/queue_ui_thread.h"
#include "headless/headless_controls.h"
#include "headless/headless_windows.h"
#include "program/app_context.h"

namespace cvu::cli {

// The activity log's list: every line goes to onLine as it is written (UI thread); none
// is kept, so a long run does not grow with its log.
struct LogTap : ListBox {
  std::function<void(const std::string&)> onLine;
  int count() const override { return 0; }
  std::string line(int) const override { return {}; }
  void addLine(const std::string& text) override;
  void clear() override {}
  bool isSelected(int) const override { return false; }
  void setSelected(int, bool) override {}
};

struct CliMain : HeadlessMain {
  LogTap logTap;
  ListBox& CVU_LOGLIST() override { return logTap; }
};

struct CliProgram {
  explicit CliProgram(std::ostream& err) : dialogs(err) {}

  // First: the constructing thread is the UI thread. What the worker posts (log lines,
  // progress) is drained in batches; its hand-overs that wait are served at once.
  QueueUiThread ui{QueueUiThread::PostWake::Batched};
  SystemClock clock;
  SilentClipboard clipboard;
  ConsoleDialogs dialogs;
  CliMain main;
  HeadlessUpOptions options;
  AppContext ctx{ui, clock, clipboard, dialogs, main};
};

}  // namespace cvu::cli
