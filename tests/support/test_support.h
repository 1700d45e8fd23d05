#pragma once
// Shared fixtures: temporary folders and databases made from the project's schema,
// a fixed clock, desktop fakes (clipboard, dialogs) and a whole headless program.
#include <deque>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/clipboard.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/queue_ui_thread.h"
#include "headless/headless_controls.h"
#include "program/app_context.h"

namespace cvu::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Creates a database file at path from data/cvxas.common.sql.
void CreateDatabaseFromSchema(const std::string& path);
// Runs SQL directly on a database file (for preparing odd contents).
void RunSql(const std::string& path, const std::string& sql);
// Reads one text value by a query on a database file (empty optional for NULL / no row).
std::optional<std::string> QueryText(const std::string& path, const std::string& sql);
// Reads raw bytes of a text column (no code-page conversion).
std::string QueryBytes(const std::string& path, const std::string& sql);

class FixedClock : public Clock {
 public:
  LocalDateTime time{2026, 12, 8, 0, 9, 4};
  LocalDateTime now() const override { return time; }
};

class FakeClipboard : public Clipboard {
 public:
  std::vector<std::string> history;  // every text put on the clipboard, in order
  bool failNext = false;
  void setText(const std::string& utf8) override;
  std::optional<std::string> text() const {
    return history.empty() ? std::nullopt : std::optional<std::string>(history.back());
  }
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<std::string> messages;
  std::vector<std::pair<std::string, std::string>> questions;  // caption, text
  bool answerYes = true;
  std::vector<std::string> saveProposals;
  std::optional<std::string> saveAnswer;
  std::vector<std::string> openFilters;
  std::vector<std::string> openAnswer;
  std::optional<std::string> openFailure;  // the file dialog throws this text

  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool askYesNo(const std::string& caption, const std::string& text) override {
    questions.emplace_back(caption, text);
    return answerYes;
  }
  std::optional<std::string> saveFile(const std::string& proposedName, const std::string&,
                                      const std::string&) override {
    saveProposals.push_back(proposedName);
    return saveAnswer;
  }
  std::vector<std::string> openFiles(const std::string& filter) override {
    openFilters.push_back(filter);
    if (openFailure) throw std::runtime_error(*openFailure);
    return openAnswer;
  }
};

// The whole program without windows, in a temporary working folder whose database
// is a copy of the supplied one.
struct HeadlessProgram {
  TempDir dir;
  QueueUiThread ui;
  FixedClock clock;
  FakeClipboard clipboard;
  FakeDialogs dialogs;
  HeadlessMain main;
  HeadlessListBox bigLog;
  AppContext ctx{ui, clock, clipboard, dialogs, main};

  // withDatabase: copy the supplied database into the folder.
  explicit HeadlessProgram(bool withDatabase = true);
  std::string dbPath() const { return ctx.databasePath; }
  // The log lines without their time stamps.
  std::vector<std::string> logBodies() const;
};

}  // namespace cvu::test
