#include "common/log.h"

#include "common/log_escape.h"
#include "common/text.h"
#include "common/timestamp.h"

namespace cvu {

std::string FormatLogLine(const LocalDateTime& when, const std::string& message, const std::string& argument) {
  // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on literal + temporary.
  std::string line = "[";
  line += FormatTimestamp(when);
  line += "] ";
  line += ReplaceAll(message, "%", EscapeLogArgument(argument));
  return line;
}

ActivityLog::ActivityLog(UiThread& ui, const Clock& clock, ListBox& mainList)
    : ui_(ui), clock_(clock), main_(mainList) {}

void ActivityLog::attachBigLog(ListBox& bigList) {
  flush();
  big_ = &bigList;
  for (const auto& line : bigBacklog_) big_->addLine(line);
  bigBacklog_.clear();
}

void ActivityLog::AddLogLine(const std::string& message, const std::string& argument) {
  {
    // The stamp is taken and the line queued under one lock, so lines keep the
    // order of the calls whichever thread makes them.
    std::lock_guard lock(mutex_);
    pending_.push_back(FormatLogLine(clock_.now(), message, argument));
  }
  if (ui_.isUiThread()) {
    flush();
  } else {
    ui_.post([this] { flush(); });
  }
}

void ActivityLog::flush() {
  std::deque<std::string> lines;
  {
    std::lock_guard lock(mutex_);
    lines.swap(pending_);
  }
  for (const auto& line : lines) {
    main_.addLine(line);
    if (big_) {
      big_->addLine(line);
    } else {
      bigBacklog_.push_back(line);
    }
  }
}

}  // namespace cvu
