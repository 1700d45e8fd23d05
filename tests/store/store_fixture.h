#pragma once
// A headless program over a real copy of the supplied database, with short-cuts for
// preparing the file's contents and reading them back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "common/cp1251.h"
#include "store/history.h"
#include "store/settings.h"
#include "support/test_support.h"

namespace cvu::test {

class StoreTest : public ::testing::Test {
 protected:
  HeadlessProgram p;

  // Runs statements on the file as the program would send them: in Windows-1251.
  void sql(const std::string& statements) { RunSql(p.dbPath(), Utf8ToCp1251(statements)); }
  // One value of the settings row read back from Windows-1251 ("<null>" for NULL).
  std::string stored(const std::string& column) { return scalar("SELECT " + column + " FROM CVU_DATA"); }
  std::string scalar(const std::string& query) { return Cp1251ToUtf8(QueryText(p.dbPath(), query).value_or("<null>")); }
  // Gives the settings table its row, then sets some of its columns.
  void storeRow(const std::string& assignments) {
    sql("INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(0, 0); UPDATE CVU_DATA SET " + assignments);
  }
  bool load() {
    p.ctx.db.setBusyTimeout(50);
    return LoadSettings(p.ctx);
  }
  // The image ids of FullHistory, in its order.
  std::vector<std::string> fullHistoryIds() const {
    std::vector<std::string> ids;
    const HistoryList& full = p.ctx.history.FullHistory;
    for (int i = 0; i < full.count(); ++i) ids.push_back(full.at(i).image_id);
    return ids;
  }
  bool logHas(const std::string& body) {
    for (const auto& line : p.logBodies()) {
      if (line == body) return true;
    }
    return false;
  }
};

// Another connection to the same file holding a lock until it goes away.
class HeldLock {
 public:
  HeldLock(const std::string& path, const char* begin) {
    sqlite3_open(path.c_str(), &db_);
    sqlite3_exec(db_, begin, nullptr, nullptr, nullptr);
    sqlite3_exec(db_, "UPDATE CVU_DATA SET title_info = title_info", nullptr, nullptr, nullptr);
  }
  ~HeldLock() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace cvu::test
