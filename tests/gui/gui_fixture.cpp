#include "gui_fixture.h"

#include <QTest>

namespace cvu::test {

GuiProgram::GuiProgram(const std::string& setupSql, bool withSchema) : dbPath(dir.file("cvxas.common.dll")) {
  if (withSchema) CreateDatabaseFromSchema(dbPath);
  if (!setupSql.empty()) RunSql(dbPath, setupSql);
  program = std::make_unique<Program>(clipboard, dialogs, clock, dbPath);
}

GuiProgram::~GuiProgram() { program.reset(); }

bool GuiProgram::start() {
  if (!program->start()) return false;
  // The stored history is read on a thread of its own: the tests begin once it is in.
  return QTest::qWaitFor([this] { return !program->historyPending(); }, 20000);
}

bool GuiProgram::startAndShow() {
  if (!start()) return false;
  program->show();
  return QTest::qWaitForWindowExposed(&program->main());
}

std::string GuiProgram::stored(const std::string& sql) const { return QueryText(dbPath, sql).value_or("<NULL>"); }

std::vector<std::string> GuiProgram::logBodies() {
  std::vector<std::string> bodies;
  ListBox& log = program->main().CVU_LOGLIST();
  for (int i = 0; i < log.count(); ++i) {
    const std::string line = log.line(i);
    const auto at = line.find("] ");
    bodies.push_back(at == std::string::npos ? line : line.substr(at + 2));
  }
  return bodies;
}

HistoryRecord RunRecord(const std::string& id, int group, const std::string& thumb) {
  HistoryRecord r;
  r.image_id = id;
  r.folder_id = "i1";
  r.image_name = id + ".png";
  r.image_th = thumb;
  r.base_file = id + ".png";
  r.base_filefolder = "/home/user/pictures/" + id + ".png";
  r.upload_date = "8 Декабрь 2026 г. 0:09:04";
  r.group = std::to_string(group);
  return r;
}

}  // namespace cvu::test
