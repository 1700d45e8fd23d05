// After each recorded image FullHistory must equal a whole read of the table, though
// only the added rows are read.
#include <sqlite3.h>

#include <filesystem>

#include "store/history_store.h"
#include "store/store_fixture.h"

namespace cvu::test {
namespace {

class HistoryMirrorTest : public StoreTest {
 protected:
  void Record(const std::string& id) { AddHistoryRecord(p.ctx, "/p/" + id + ".png", 0, id, "i1", id + ".png", "0"); }
  std::vector<std::string> TableIds() {
    std::vector<std::string> ids;
    const auto count = std::stoi(scalar("SELECT COUNT(*) FROM CVU_HISTORY"));
    for (int i = 0; i < count; ++i)
      ids.push_back(scalar("SELECT image_id FROM CVU_HISTORY LIMIT 1 OFFSET " + std::to_string(i)));
    return ids;
  }
};

TEST_F(HistoryMirrorTest, RowsAddedByTheProgramAndByOthersBothArrive) {
  sql("INSERT INTO CVU_HISTORY VALUES('old', 'i1', 'old.png', '0', 'old.png', '/p/old.png', 'd')");
  ASSERT_TRUE(load());
  Record("a1");
  sql("INSERT INTO CVU_HISTORY VALUES('other', 'i2', 'other.png', '0', 'other.png', '/p/other.png', 'd')");
  Record("b2");
  EXPECT_EQ(fullHistoryIds(), (std::vector<std::string>{"old", "a1", "other", "b2"}));
  EXPECT_EQ(fullHistoryIds(), TableIds());
  EXPECT_EQ(p.ctx.history.FullHistory.at(3).base_filefolder, "/p/b2.png");
}

TEST_F(HistoryMirrorTest, ATableWithoutRowIdsIsReadWholeEveryTime) {
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id TEXT PRIMARY KEY, folder_id TEXT, image_name TEXT, "
      "image_th TEXT, base_file TEXT, base_filefolder TEXT, upload_date TEXT) WITHOUT ROWID");
  ASSERT_TRUE(load());
  Record("b");
  Record("a");
  EXPECT_EQ(fullHistoryIds(), TableIds());  // key order, as the table returns them
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 2);
}

TEST_F(HistoryMirrorTest, NoJournalOrLogFileIsLeftBesideTheDatabase) {
  ASSERT_TRUE(load());
  p.ctx.db.useWriteAheadLog();
  ASSERT_TRUE(p.ctx.db.usesWriteAheadLog());
  Record("a");
  SaveSettings(p.ctx);
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    EXPECT_FALSE(std::filesystem::exists(p.dbPath() + suffix)) << suffix;
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM CVU_HISTORY"), "1");
  EXPECT_EQ(scalar("PRAGMA journal_mode"), "delete");
}

// A program that dies after recording (no close) leaves its rows in the log; the files
// as they stand on disk at that moment give them back.
TEST_F(HistoryMirrorTest, ARecordedRowSurvivesAnEndWithoutClose) {
  ASSERT_TRUE(load());
  p.ctx.db.useWriteAheadLog();  // as an upload's start does
  ASSERT_TRUE(p.ctx.db.usesWriteAheadLog());
  Record("a");
  Record("b");
  const std::string copy = p.dbPath() + ".crash";
  for (const char* suffix : {"", "-wal"}) {
    ASSERT_TRUE(std::filesystem::exists(p.dbPath() + suffix)) << suffix;
    std::filesystem::copy_file(p.dbPath() + suffix, copy + suffix);
  }
  EXPECT_EQ(QueryText(copy, "SELECT group_concat(image_id) FROM CVU_HISTORY"), "a,b");
  EXPECT_EQ(QueryText(copy, "PRAGMA integrity_check"), "ok");
}

// The read of the added rows is prepared once and kept. Another program that adds a
// column, or rebuilds the table with its columns in another order, between two images
// must not make the next read take one column for another.
TEST_F(HistoryMirrorTest, ColumnsChangedByAnotherProgramBetweenTwoImagesAreReadByName) {
  ASSERT_TRUE(load());
  Record("a");
  sql("ALTER TABLE CVU_HISTORY ADD COLUMN note TEXT");
  Record("b");
  sql("CREATE TABLE remade (upload_date, base_filefolder, note, base_file, image_th, image_name, folder_id, image_id);"
      "INSERT INTO remade(rowid, upload_date, base_filefolder, note, base_file, image_th, image_name, folder_id, "
      "image_id) SELECT rowid, upload_date, base_filefolder, note, base_file, image_th, image_name, folder_id, "
      "image_id FROM CVU_HISTORY; DROP TABLE CVU_HISTORY; ALTER TABLE remade RENAME TO CVU_HISTORY");
  Record("c");
  EXPECT_EQ(fullHistoryIds(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(fullHistoryIds(), TableIds());
  const HistoryList& full = p.ctx.history.FullHistory;
  ASSERT_EQ(full.count(), 3);
  for (int i = 0; i < full.count(); ++i) {
    const std::string id = full.at(i).image_id;
    EXPECT_EQ(full.at(i).base_filefolder, "/p/" + id + ".png");
    EXPECT_EQ(full.at(i).image_name, id + ".png");
    EXPECT_EQ(full.at(i).folder_id, "i1");
  }
  EXPECT_TRUE(p.logBodies().empty());
}

// Starting the program rewrites nothing: the file keeps its rollback journal until an
// upload asks for the log.
TEST_F(HistoryMirrorTest, OpeningLeavesTheFileWithItsRollbackJournal) {
  ASSERT_TRUE(load());
  EXPECT_FALSE(p.ctx.db.usesWriteAheadLog());
  EXPECT_FALSE(std::filesystem::exists(p.dbPath() + "-wal"));
  EXPECT_EQ(scalar("PRAGMA journal_mode"), "delete");
}

// A file another program left in log mode (it ended without closing) is used as it is
// and goes back to a rollback journal at close.
TEST_F(HistoryMirrorTest, AFileLeftInLogModeGoesBackToItsJournalAtClose) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(p.dbPath().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  ASSERT_EQ(scalar("PRAGMA journal_mode"), "wal");
  ASSERT_TRUE(load());
  EXPECT_TRUE(p.ctx.db.usesWriteAheadLog());
  Record("a");
  SaveSettings(p.ctx);
  EXPECT_EQ(scalar("PRAGMA journal_mode"), "delete");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM CVU_HISTORY"), "1");
}

// While another connection reads, the file cannot change its journal: it keeps the
// rollback journal, and a later try, once the reader is done, gets the log.
TEST_F(HistoryMirrorTest, TheLogWaitsForAFileNoOneElseReads) {
  sql("INSERT INTO CVU_HISTORY VALUES('x', 'i1', 'x.png', '0', 'x.png', '/p/x.png', 'd');"
      "INSERT INTO CVU_HISTORY VALUES('y', 'i1', 'y.png', '0', 'y.png', '/p/y.png', 'd')");
  ASSERT_TRUE(load());
  sqlite3* reader = nullptr;
  ASSERT_EQ(sqlite3_open(p.dbPath().c_str(), &reader), SQLITE_OK);
  sqlite3_stmt* rows = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(reader, "SELECT image_id FROM CVU_HISTORY", -1, &rows, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(rows), SQLITE_ROW);  // the read is under way
  p.ctx.db.useWriteAheadLog();
  EXPECT_FALSE(p.ctx.db.usesWriteAheadLog());
  sqlite3_finalize(rows);
  sqlite3_close(reader);
  Record("a");
  p.ctx.db.useWriteAheadLog();
  EXPECT_TRUE(p.ctx.db.usesWriteAheadLog());
  Record("b");
  EXPECT_EQ(fullHistoryIds(), (std::vector<std::string>{"x", "y", "a", "b"}));
}

}  // namespace
}  // namespace cvu::test
