#pragma once
// The whole program without windows, for benchmarks: a copy of the supplied database
// in a temporary folder (optionally holding a long upload history), the settings
// loaded, the upload options in their initial state, desktop services that do nothing.
#include <string>

#include "bench_support.h"
#include "common/queue_ui_thread.h"
#include "headless/headless_controls.h"
#include "headless/headless_windows.h"
#include "program/app_context.h"

namespace cvu::bench {

struct FixedClock : Clock {
  LocalDateTime now() const override { return {2026, 12, 8, 0, 9, 4}; }
};

struct NullClipboard : Clipboard {
  void setText(const std::string&) override {}
};

struct NullDialogs : Dialogs {
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> saveFile(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::vector<std::string> openFiles(const std::string&) override { return {}; }
};

// Adds rows like real uploads to CVU_HISTORY of the database file.
void AddHistoryRows(const std::string& databasePath, int rows);

class BenchProgram {
 public:
  // supplied: the supplied database file; historyRows: rows put in CVU_HISTORY first.
  BenchProgram(const std::string& supplied, int historyRows);
  ~BenchProgram();
  BenchProgram(const BenchProgram&) = delete;
  BenchProgram& operator=(const BenchProgram&) = delete;

  // Clicks "Загрузить" with the files queued and waits for the run's end.
  bool upload(const std::vector<std::string>& files);

  QueueUiThread ui;  // first: the constructing thread is the UI thread
  TempFolder dir{"cvu-bench-program"};
  FixedClock clock;
  NullClipboard clipboard;
  NullDialogs dialogs;
  HeadlessMain main;
  HeadlessListBox bigLog;
  HeadlessUpOptions options;
  AppContext ctx{ui, clock, clipboard, dialogs, main};
};

}  // namespace cvu::bench
