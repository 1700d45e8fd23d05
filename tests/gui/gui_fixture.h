#pragma once
// The real program with its real windows over a fresh database made from the schema,
// with a fixed clock and desktop fakes for the clipboard and the dialogs.
#include <QString>
#include <memory>
#include <string_view>
#include <string>

#include "app/program.h"
#include "support/test_support.h"

namespace cvu::test {

struct GuiProgram {
  TempDir dir;
  FixedClock clock;
  FakeClipboard clipboard;
  FakeDialogs dialogs;
  std::string dbPath;
  std::unique_ptr<Program> program;

  // setupSql runs on the new database before the program starts. withSchema false:
  // the database file is made from setupSql alone.
  explicit GuiProgram(const std::string& setupSql = "", bool withSchema = true);
  ~GuiProgram();

  // Starts the program (FormCreate and the other windows); returns start()'s answer.
  bool start();
  // Starts and shows the main window, waiting until it is exposed.
  bool startAndShow();

  TCV_Main& main() { return program->main(); }
  AppContext& ctx() { return program->context(); }
  // A text read back from the database file.
  std::string stored(const std::string& sql) const;
  // The log lines without their time stamps.
  std::vector<std::string> logBodies();
};

// A run-history record of an upload group, with a thumbnail when thumb is not "0".
HistoryRecord RunRecord(const std::string& id, int group, const std::string& thumb = "0");

// Texts of the core (UTF-8) as QString, for QCOMPARE.
inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace cvu::test
