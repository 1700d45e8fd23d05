// The start-up read of the history on a connection of its own, installed on the UI
// thread afterwards: the same list, log lines and messages as a read on the UI thread,
// and uploads recorded meanwhile end up in the list exactly once.
#include <gtest/gtest.h>

#include <atomic>

#include "program/history_load.h"
#include "store/history_store.h"
#include "store/store_fixture.h"

namespace cvu::test {
namespace {

constexpr const char* kRowsOf10 =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
    "INSERT INTO CVU_HISTORY SELECT 'id' || i, 'i1', 'id' || i || '.png', '0', 'f' || i || '.png', "
    "'/p/f' || i || '.png', 'date' FROM n";

class HistoryStartLoadTest : public StoreTest {
 protected:
  void SetUp() override {
    sql(kRowsOf10);
    ASSERT_TRUE(LoadSettings(p.ctx, false));
  }
  void Record(const std::string& id) { AddHistoryRecord(p.ctx, "/p/" + id + ".png", 0, id, "i1", id + ".png", "0"); }
  LoadedHistory Read(int chunkRows = 3, std::function<void()> between = {}) {
    HistoryReadOptions options;
    options.chunkRows = chunkRows;
    options.betweenChunks = std::move(between);
    return ReadHistoryTable(p.dbPath(), options);
  }
  std::vector<std::string> TableIds() {
    std::vector<std::string> ids;
    const int count = std::stoi(scalar("SELECT count(*) FROM CVU_HISTORY"));
    for (int i = 0; i < count; ++i) {
      ids.push_back(scalar("SELECT image_id FROM CVU_HISTORY ORDER BY rowid LIMIT 1 OFFSET " + std::to_string(i)));
    }
    return ids;
  }
  std::vector<std::string> Ids(const HistoryList& list) const {
    std::vector<std::string> ids;
    for (int i = 0; i < list.count(); ++i) ids.push_back(list.at(i).image_id);
    return ids;
  }
};

TEST_F(HistoryStartLoadTest, ChunkedReadGivesWhatAReadOnTheUiThreadGives) {
  sql("INSERT INTO CVU_HISTORY VALUES('ru', NULL, 'ru.png', '0', 'Фото.png', '/фото/Фото.png', 'd')");
  for (int chunk : {1, 3, 11, 10000}) {
    LoadedHistory loaded = Read(chunk);
    EXPECT_TRUE(loaded.failure.empty()) << loaded.failure;
    EXPECT_EQ(loaded.rowCount, 11) << chunk;
    EXPECT_EQ(loaded.lastRowId, 11) << chunk;
    ASSERT_EQ(loaded.records.count(), 11) << chunk;
    EXPECT_EQ(loaded.records.at(0).image_id, "id1");
    EXPECT_EQ(loaded.records.at(9).base_filefolder, "/p/f10.png");
    EXPECT_EQ(loaded.records.at(10).base_filefolder, "/фото/Фото.png");
    EXPECT_EQ(loaded.records.at(10).folder_id, "");
  }
  LoadFullHistory(p.ctx.db, p.ctx.history, p.ctx.log);
  LoadedHistory loaded = Read();
  ASSERT_EQ(loaded.records.count(), p.ctx.history.FullHistory.count());
  for (int i = 0; i < loaded.records.count(); ++i) {
    EXPECT_EQ(loaded.records.fields(i), p.ctx.history.FullHistory.fields(i)) << i;
  }
}

// An older or hand-made file may declare the history's columns numeric: its values
// still read as the texts stored, in the start-up read, the full read and the rows added.
TEST_F(HistoryStartLoadTest, ColumnsDeclaredNumericKeepTheirText) {
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id INTEGER, folder_id INT, image_name INTEGER,"
      " image_th BOOLEAN, base_file INTEGER, base_filefolder BIGINT, upload_date INTEGER); INSERT INTO CVU_HISTORY"
      " VALUES('a1b2c', 7, 'a1b2c.png', 2.7, 'photo.jpg', NULL, '8 Декабрь 2026 г. 0:09:04')");
  const auto texts = [](const HistoryRecord& r) {
    return std::vector<std::string>{r.image_id,  r.folder_id,       r.image_name, r.image_th,
                                    r.base_file, r.base_filefolder, r.upload_date};
  };
  const std::vector<std::string> stored{"a1b2c", "7", "a1b2c.png", "2.7", "photo.jpg", "", "8 Декабрь 2026 г. 0:09:04"};
  LoadedHistory loaded = Read();
  ASSERT_EQ(loaded.records.count(), 1);
  EXPECT_EQ(texts(loaded.records.at(0)), stored);
  LoadFullHistory(p.ctx.db, p.ctx.history, p.ctx.log);
  ASSERT_EQ(p.ctx.history.FullHistory.count(), 1);
  EXPECT_EQ(texts(p.ctx.history.FullHistory.at(0)), stored);
  Record("b2");
  ASSERT_EQ(p.ctx.history.FullHistory.count(), 2);
  EXPECT_EQ(texts(p.ctx.history.FullHistory.at(1)), texts(p.ctx.history.RunHistory.at(0)));
}

TEST_F(HistoryStartLoadTest, AnEmptyTableLoadsEmptyAndLaterRowsAreReadByRowId) {
  sql("DELETE FROM CVU_HISTORY");
  LoadedHistory loaded = Read();
  EXPECT_EQ(loaded.rowCount, 0);
  EXPECT_EQ(loaded.lastRowId, 0);
  InstallLoadedHistory(p.ctx, std::move(loaded));
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 0);
  Record("n1");
  EXPECT_EQ(fullHistoryIds(), std::vector<std::string>{"n1"});
  EXPECT_TRUE(p.logBodies().empty());
}

// Uploads recorded between two chunks and between the read and its installation.
TEST_F(HistoryStartLoadTest, UploadsRecordedDuringTheLoadArriveOnceInTableOrder) {
  p.ctx.history.FullHistoryLoading = true;
  int chunks = 0;
  LoadedHistory loaded = Read(4, [&] {
    if (++chunks == 1) Record("during1");  // lands in a later chunk
  });
  sql("INSERT INTO CVU_HISTORY VALUES('other', 'i2', 'other.png', '0', 'o.png', '/p/o.png', 'd')");
  Record("after1");
  Record("after2");
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 0);  // nothing read on the UI thread meanwhile
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 3);
  EXPECT_EQ(loaded.rowCount, 11);
  InstallLoadedHistory(p.ctx, std::move(loaded));
  EXPECT_FALSE(p.ctx.history.FullHistoryLoading);
  EXPECT_EQ(fullHistoryIds(), TableIds());
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 14);
  EXPECT_EQ(fullHistoryIds()[10], "during1");
  EXPECT_EQ(fullHistoryIds().back(), "after2");
  Record("later");  // back to reading only the added rows
  EXPECT_EQ(fullHistoryIds(), TableIds());
  EXPECT_TRUE(p.logBodies().empty());
}

TEST_F(HistoryStartLoadTest, MissingTableIsLoggedAs065WhenInstalled) {
  sql("DROP TABLE CVU_HISTORY");
  LoadedHistory loaded = Read();
  EXPECT_TRUE(loaded.tableMissing);
  EXPECT_TRUE(p.logBodies().empty());
  p.ctx.history.FullHistory.push_back(HistoryRecord{"kept", "", "", "", "", "", "", ""});
  InstallLoadedHistory(p.ctx, std::move(loaded));
  EXPECT_EQ(p.logBodies(), std::vector<std::string>{"[Error 065] #010# Ошибка обработки данных cvxas.common.dll"});
  EXPECT_EQ(fullHistoryIds(), std::vector<std::string>{"kept"});
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST_F(HistoryStartLoadTest, MissingColumnIsLoggedAs066AndTheSlotsKeepWhatTheyHeld) {
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id, folder_id, image_name, image_th, base_file,"
      " base_filefolder); INSERT INTO CVU_HISTORY(image_id) VALUES('1'), ('2'), ('3')");
  LoadedHistory loaded = Read(2);
  EXPECT_EQ(loaded.rowCount, 3);
  EXPECT_EQ(loaded.records.count(), 0);
  for (const char* id : {"old0", "old1"})
    p.ctx.history.FullHistory.push_back(HistoryRecord{id, "", "", "", "", "", "", ""});
  InstallLoadedHistory(p.ctx, std::move(loaded));
  EXPECT_EQ(p.logBodies(), std::vector<std::string>{"[Error 066] #290# Ошибка обработки данных cvxas.common.dll. "
                                                    "Код ошибки: Field not found in dataset: upload_date"});
  EXPECT_EQ(fullHistoryIds(), (std::vector<std::string>{"old0", "old1", ""}));
  EXPECT_EQ(p.ctx.history.FullHistoryLastRowId, -1);
}

TEST_F(HistoryStartLoadTest, AFailedReadIsShownAndLeavesTheListAlone) {
  HistoryReadOptions options;
  LoadedHistory loaded = ReadHistoryTable(p.dbPath() + ".absent", options);
  EXPECT_FALSE(loaded.failure.empty());
  p.ctx.history.FullHistoryLoading = true;
  InstallLoadedHistory(p.ctx, std::move(loaded));
  EXPECT_EQ(p.dialogs.messages, std::vector<std::string>{"unable to open database file"});
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 0);
  EXPECT_FALSE(p.ctx.history.FullHistoryLoading);
  Record("n1");  // the next upload reads the whole table
  EXPECT_EQ(fullHistoryIds(), TableIds());
}

TEST_F(HistoryStartLoadTest, ATableWithoutRowIdsIsReadWholeAndReadAgainAfterAMissedUpload) {
  sql("DROP TABLE CVU_HISTORY; CREATE TABLE CVU_HISTORY (image_id TEXT PRIMARY KEY, folder_id TEXT, image_name TEXT, "
      "image_th TEXT, base_file TEXT, base_filefolder TEXT, upload_date TEXT) WITHOUT ROWID;"
      "INSERT INTO CVU_HISTORY(image_id) VALUES('c'), ('a')");
  p.ctx.history.FullHistoryLoading = true;
  LoadedHistory loaded = Read(1);
  EXPECT_EQ(loaded.lastRowId, -1);
  EXPECT_EQ(Ids(loaded.records), (std::vector<std::string>{"a", "c"}));
  Record("b");
  InstallLoadedHistory(p.ctx, std::move(loaded));
  EXPECT_EQ(fullHistoryIds(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(HistoryStartLoadTest, TheFullViewIsRefilledOnlyWhenShown) {
  p.ctx.history.FullHistoryShown = true;
  InstallLoadedHistory(p.ctx, Read());
  ASSERT_EQ(p.main.linksTable.itemCount(), 10);
  EXPECT_EQ(p.main.linksTable.item(9).caption, "f10.png");
  EXPECT_TRUE(p.ctx.history.FullHistoryShown);

  HeadlessProgram other;
  RunSql(other.dbPath(), kRowsOf10);
  ASSERT_TRUE(LoadSettings(other.ctx, false));
  HistoryReadOptions options;
  InstallLoadedHistory(other.ctx, ReadHistoryTable(other.dbPath(), options));
  EXPECT_EQ(other.ctx.history.FullHistory.count(), 10);
  EXPECT_EQ(other.main.linksTable.itemCount(), 0);
}

// The whole hand-over: read on the worker chain, installed through the UI thread's queue.
TEST_F(HistoryStartLoadTest, StartHistoryLoadInstallsThroughTheUiThread) {
  StartHistoryLoad(p.ctx);
  EXPECT_TRUE(p.ctx.history.FullHistoryLoading);
  Record("meanwhile");
  ASSERT_TRUE(p.ui.runUntil([&] { return !p.ctx.history.FullHistoryLoading; }));
  EXPECT_EQ(fullHistoryIds(), TableIds());
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 11);
}

TEST_F(HistoryStartLoadTest, NothingIsInstalledOnceClosingHasBegun) {
  StartHistoryLoad(p.ctx);
  p.ctx.historyLoads.close({});
  p.ui.drain();
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 0);
  EXPECT_TRUE(p.logBodies().empty());
}

}  // namespace
}  // namespace cvu::test
