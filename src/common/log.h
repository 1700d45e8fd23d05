#pragma once
// The activity log: one time-stamped line per event, in the main window's list and,
// identically, in the big-log window's list.
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/controls.h"
#include "common/ui_thread.h"

namespace cvu {

class ActivityLog {
 public:
  ActivityLog(UiThread& ui, const Clock& clock, ListBox& mainList);
  ActivityLog(const ActivityLog&) = delete;
  ActivityLog& operator=(const ActivityLog&) = delete;

  // Attaches the big-log window's list (UI thread); lines written before it existed
  // are added to it first.
  void attachBigLog(ListBox& bigList);

  // Callable from any thread. Each call adds one whole line to both lists, in call
  // order; on the UI thread the line is there when the call returns.
  void AddLogLine(const std::string& message, const std::string& argument);

  const Clock& clock() const { return clock_; }
  ListBox& mainList() { return main_; }

 private:
  void flush();  // UI thread only

  UiThread& ui_;
  const Clock& clock_;
  ListBox& main_;
  ListBox* big_ = nullptr;
  std::vector<std::string> bigBacklog_;  // UI thread only
  std::mutex mutex_;
  std::deque<std::string> pending_;  // guarded by mutex_
};

// "[" + time stamp + "] " + message with every "%" replaced by the argument, whose
// control characters are escaped (EscapeLogArgument), so the line is one line.
std::string FormatLogLine(const LocalDateTime& when, const std::string& message, const std::string& argument);

}  // namespace cvu
