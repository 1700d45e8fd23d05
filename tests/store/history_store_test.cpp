#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "store/history_store.h"
#include "store/store_fixture.h"

namespace cvu::test {
namespace {

class HistoryStoreTest : public StoreTest {
 protected:
  void SetUp() override {
    p.clock.time = LocalDateTime{2059, 1, 1, 23, 59, 59};
    ASSERT_TRUE(load());
  }
  void record(const std::string& path, int group, const std::string& id = "a1b2cd34e567",
              const std::string& thumb = "a1b2cd34e567.th.png") {
    AddHistoryRecord(p.ctx, path, group, id, "i1", id + ".png", thumb);
  }
  std::vector<std::string> storedRow(int rowid) {
    std::vector<std::string> values;
    for (const char* column :
         {"image_id", "folder_id", "image_name", "image_th", "base_file", "base_filefolder", "upload_date"}) {
      values.push_back(
          scalar("SELECT " + std::string(column) + " FROM CVU_HISTORY WHERE rowid=" + std::to_string(rowid)));
    }
    return values;
  }
  const HistoryList& run() { return p.ctx.history.RunHistory; }
  const HistoryList& full() { return p.ctx.history.FullHistory; }
};

std::vector<std::string> Fields(const HistoryRecord& r) {
  return {r.image_id, r.folder_id, r.image_name, r.image_th, r.base_file, r.base_filefolder, r.upload_date};
}

TEST_F(HistoryStoreTest, FirstImageIsRecordedInTheRunTheTableAndTheFullHistory) {
  record("C:\\Фото\\my_best_pic.png", 0);
  const std::vector<std::string> expected{"a1b2cd34e567",
                                          "i1",
                                          "a1b2cd34e567.png",
                                          "a1b2cd34e567.th.png",
                                          "my_best_pic.png",
                                          "C:\\Фото\\my_best_pic.png",
                                          "1 Январь 2059 г. 23:59:59"};
  ASSERT_EQ(run().count(), 1);
  EXPECT_EQ(Fields(run().at(0)), expected);
  EXPECT_EQ(run().at(0).group, "0");
  EXPECT_EQ(scalar("SELECT count(*) FROM CVU_HISTORY"), "1");
  EXPECT_EQ(storedRow(1), expected);
  EXPECT_EQ(QueryBytes(p.dbPath(), "SELECT base_filefolder FROM CVU_HISTORY"), "C:\\\xD4\xEE\xF2\xEE\\my_best_pic.png");
  ASSERT_EQ(full().count(), 1);
  EXPECT_EQ(Fields(full().at(0)), expected);
  EXPECT_EQ(full().at(0).group, "");
  EXPECT_TRUE(p.logBodies().empty());
  ASSERT_EQ(p.main.linksTable.itemCount(), 1);  // the run view was refilled
  EXPECT_EQ(p.main.linksTable.item(0).caption, "my_best_pic.png");
}

TEST_F(HistoryStoreTest, LaterImagesAppendInOrderAndTheFullHistoryMirrorsTheTable) {
  sql("INSERT INTO CVU_HISTORY VALUES('old', 'i2', 'old.jpg', '0', 'old.jpg', '/x/old.jpg', 'then')");
  LoadFullHistory(p.ctx.db, p.ctx.history, p.ctx.log);
  record("/home/u/0", 3, "b1", "0");
  record("/home/u/two.gif", 3, "b2");
  ASSERT_EQ(run().count(), 2);
  EXPECT_EQ(run().at(0).base_file, "0");
  EXPECT_EQ(run().at(0).image_th, "0");
  EXPECT_EQ(run().at(1).group, "3");
  ASSERT_EQ(full().count(), 3);
  EXPECT_EQ(full().at(0).image_id, "old");
  EXPECT_EQ(full().at(2).image_id, "b2");
  EXPECT_EQ(storedRow(2)[4], "0");
  EXPECT_EQ(storedRow(2)[3], "0");
}

TEST_F(HistoryStoreTest, MissingTableStillListsTheImageAndLogs064Then065) {
  sql("DROP TABLE CVU_HISTORY");
  record("/p/a.png", 0);
  EXPECT_EQ(p.logBodies(), (std::vector<std::string>{"[Error 064] #502# Ошибка обработки данных cvxas.common.dll",
                                                     "[Error 065] #010# Ошибка обработки данных cvxas.common.dll"}));
  EXPECT_EQ(run().count(), 1);
  EXPECT_EQ(full().count(), 0);
  EXPECT_EQ(p.main.linksTable.itemCount(), 1);
}

TEST(HistoryStoreStart, MissingTableAtStartIsLoggedAs065) {
  HeadlessProgram p;
  RunSql(p.dbPath(), "DROP TABLE CVU_HISTORY");
  ASSERT_TRUE(LoadSettings(p.ctx));
  EXPECT_EQ(p.logBodies(), std::vector<std::string>{"[Error 065] #010# Ошибка обработки данных cvxas.common.dll"});
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST_F(HistoryStoreTest, ColumnsAreFoundByNameInAnyOrderAndCase) {
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE cvu_history (UPLOAD_DATE, extra, Base_FileFolder, base_file, image_th,"
      " image_name, folder_id, IMAGE_ID); INSERT INTO cvu_history VALUES('d', 'x', '/f/n.png', 'n.png', NULL, "
      "'n.png', 'i3', 42)");
  LoadFullHistory(p.ctx.db, p.ctx.history, p.ctx.log);
  ASSERT_EQ(full().count(), 1);
  EXPECT_EQ(Fields(full().at(0)), (std::vector<std::string>{"42", "i3", "n.png", "", "n.png", "/f/n.png", "d"}));
  record("/f/m.png", 1, "m");
  EXPECT_EQ(full().count(), 2);
  EXPECT_EQ(full().at(1).base_filefolder, "/f/m.png");
}

TEST_F(HistoryStoreTest, UnreadableRowsAreLoggedAs066AndTheCountStays) {
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id, folder_id, image_name, image_th, base_file,"
      " base_filefolder); INSERT INTO CVU_HISTORY(image_id) VALUES('1'), ('2'), ('3')");
  LoadFullHistory(p.ctx.db, p.ctx.history, p.ctx.log);
  EXPECT_EQ(p.logBodies(), std::vector<std::string>{"[Error 066] #290# Ошибка обработки данных cvxas.common.dll. "
                                                    "Код ошибки: Field not found in dataset: upload_date"});
  EXPECT_EQ(full().count(), 3);
  EXPECT_FALSE(full().has(3));
}

// Whatever makes the database refuse the row, the image stays in this run's history
// (the service has it) and the next one follows it.
TEST_F(HistoryStoreTest, RefusedInsertIsLoggedAs062AndTheImageStaysInTheRun) {
  struct Case {
    const char* setup;
    const char* undo;
    const char* failure;
  };
  const Case cases[] = {
      {"CREATE TRIGGER frozen BEFORE INSERT ON CVU_HISTORY BEGIN SELECT RAISE(ABORT, 'history is frozen'); END",
       "DROP TRIGGER frozen", "history is frozen"},
      {"DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id, folder_id, image_name, image_th CHECK "
       "(image_th <> 'bad'), base_file, base_filefolder, upload_date)",
       "", "CHECK constraint failed: image_th <> 'bad'"},
  };
  for (const Case& c : cases) {
    HeadlessProgram fresh;
    RunSql(fresh.dbPath(), c.setup);
    ASSERT_TRUE(LoadSettings(fresh.ctx));
    AddHistoryRecord(fresh.ctx, "/p/a.png", 0, "id1", "i1", "id1.png", "bad");
    EXPECT_EQ(fresh.logBodies(),
              std::vector<std::string>{"[Error 062] #085# Критическая ошибка обработки данных. Код ошибки: \"" +
                                       std::string(c.failure) + "\""});
    ASSERT_EQ(fresh.ctx.history.RunHistory.count(), 1);
    EXPECT_EQ(fresh.ctx.history.RunHistory.at(0).image_id, "id1");
    if (*c.undo) RunSql(fresh.dbPath(), c.undo);
    AddHistoryRecord(fresh.ctx, "/p/b.png", 0, "id2", "i1", "id2.png", "0");
    ASSERT_EQ(fresh.ctx.history.RunHistory.count(), 2);
    EXPECT_EQ(fresh.ctx.history.RunHistory.at(1).image_id, "id2");
    EXPECT_EQ(fresh.ctx.history.FullHistory.count(), 1);
  }
}

// The insert is prepared once and kept: a table another program remakes between two
// images is met as it is now, with the message a first insert into it would get.
TEST_F(HistoryStoreTest, ATableRemadeBetweenTwoImagesIsMetAsItIsNow) {
  record("/p/a.png", 0, "a");
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id, folder_id, image_name, base_file,"
      " base_filefolder, upload_date)");
  record("/p/b.png", 0, "b");
  EXPECT_EQ(p.logBodies(), std::vector<std::string>{"[Error 062] #085# Критическая ошибка обработки данных. Код "
                                                    "ошибки: \"table CVU_HISTORY has no column named image_th\""});
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (upload_date, base_filefolder, base_file, image_th,"
      " image_name, folder_id, image_id, note)");
  record("/p/c.png", 0, "c");
  EXPECT_EQ(scalar("SELECT image_id || ' ' || base_file || ' ' || ifnull(note, '-') FROM CVU_HISTORY"), "c c.png -");
  EXPECT_EQ(run().count(), 3);
}

TEST_F(HistoryStoreTest, RecordingWhileTheFullHistoryIsShownSwitchesBackQuietly) {
  record("/p/a.png", 0, "a");
  p.ctx.history.FullHistoryShown = true;
  record("/p/b.png", 0, "b");
  EXPECT_FALSE(p.ctx.history.FullHistoryShown);
  EXPECT_EQ(p.main.historyBtn.value, "Полная история");
  EXPECT_EQ(p.main.linksTable.itemCount(), 2);
  EXPECT_TRUE(p.logBodies().empty());
}

TEST_F(HistoryStoreTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  record("/фото/日本 «.png", 0);
  EXPECT_EQ(QueryBytes(p.dbPath(), "SELECT base_file FROM CVU_HISTORY"), "?? \xAB.png");
  EXPECT_EQ(QueryBytes(p.dbPath(), "SELECT base_filefolder FROM CVU_HISTORY"), Utf8ToCp1251("/фото/") + "?? \xAB.png");
  EXPECT_EQ(full().at(0).base_file, "?? «.png");
  EXPECT_EQ(full().at(0).base_filefolder, "/фото/?? «.png");
}

// Nothing the service answers can change the statement: every value is stored as given.
TEST_F(HistoryStoreTest, ServiceValuesAreStoredAsTextWhateverTheyHold) {
  const std::vector<std::string> values{"image_id", "a\", \"b", "\"); DROP TABLE CVU_DATA; --",
                                        "x'); DELETE FROM CVU_HISTORY; --"};
  for (const auto& v : values) AddHistoryRecord(p.ctx, "/p/" + v, 0, v, v, v, v);
  ASSERT_EQ(scalar("SELECT count(*) FROM CVU_HISTORY"), "4");
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto row = storedRow(static_cast<int>(i + 1));
    EXPECT_EQ(row[0], values[i]);
    EXPECT_EQ(row[3], values[i]);
    EXPECT_EQ(row[5], "/p/" + values[i]);
  }
  EXPECT_EQ(scalar("SELECT count(*) FROM CVU_DATA"), "1");
  EXPECT_TRUE(p.logBodies().empty());
  EXPECT_EQ(full().count(), 4);
}

TEST_F(HistoryStoreTest, AHundredThousandRowsLoadWhole) {
  sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
      "INSERT INTO CVU_HISTORY SELECT 'id' || i, 'i1', 'id' || i || '.png', '0', 'f' || i || '.png', "
      "'/photos/f' || i || '.png', 'date' FROM n");
  HeadlessProgram next;
  std::filesystem::copy_file(p.dbPath(), next.dbPath(), std::filesystem::copy_options::overwrite_existing);
  ASSERT_TRUE(LoadSettings(next.ctx));
  const HistoryList& loaded = next.ctx.history.FullHistory;
  ASSERT_EQ(loaded.count(), 100000);
  EXPECT_EQ(loaded.at(0).image_id, "id1");
  EXPECT_EQ(loaded.at(99999).base_filefolder, "/photos/f100000.png");
  AddHistoryRecord(next.ctx, "/p/new.png", 0, "new", "i1", "new.png", "0");
  ASSERT_EQ(loaded.count(), 100001);
  EXPECT_EQ(loaded.at(100000).image_id, "new");
  EXPECT_THROW(loaded.at(100001), std::out_of_range);
}

}  // namespace
}  // namespace cvu::test
