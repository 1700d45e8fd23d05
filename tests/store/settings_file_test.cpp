// A database file the program cannot use as it should: the user is told, nothing crashes.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "links/link_forms.h"
#include "links/templates.h"
#include "store/history_store.h"
#include "store/store_fixture.h"

namespace cvu::test {
namespace {

using SettingsFileTest = StoreTest;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }
bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(SettingsFileTest, FileThatIsNotADatabaseIsReportedAndEndsTheProgram) {
  std::filesystem::remove(p.dbPath());
  std::ofstream(p.dbPath()) << "This is a text file, not a database, and it is long enough to have a header.";
  EXPECT_FALSE(load());
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_TRUE(StartsWith(p.dialogs.messages[0], "Не удалось открыть базу данных")) << p.dialogs.messages[0];
  EXPECT_TRUE(Contains(p.dialogs.messages[0], "file is not a database")) << p.dialogs.messages[0];
  EXPECT_TRUE(Contains(p.dialogs.messages[0], "Программа будет закрыта"));
  EXPECT_FALSE(p.ctx.db.isOpen());
  SaveSettings(p.ctx);  // the front end may still call it at exit
}

TEST_F(SettingsFileTest, PathThatCannotBeOpenedIsReported) {
  std::filesystem::remove(p.dbPath());
  std::filesystem::create_directory(p.dbPath());
  EXPECT_FALSE(load());
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_TRUE(StartsWith(p.dialogs.messages[0], "Не удалось открыть базу данных")) << p.dialogs.messages[0];
}

TEST_F(SettingsFileTest, FileLockedByAnotherProgramIsReported) {
  storeRow("mYv_1='kept'");
  HeldLock lock(p.dbPath(), "BEGIN EXCLUSIVE");
  EXPECT_FALSE(load());
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_TRUE(Contains(p.dialogs.messages[0], "database is locked")) << p.dialogs.messages[0];
  EXPECT_FALSE(p.ctx.db.isOpen());
}

// The service accepted the image while another program held the file: the row is
// refused, but the image is on the page and in its group's text.
TEST_F(SettingsFileTest, ImageRecordedWhileTheFileIsLockedKeepsItsLinks) {
  ASSERT_TRUE(load());
  HeldLock lock(p.dbPath(), "BEGIN EXCLUSIVE");
  AddHistoryRecord(p.ctx, "/tmp/a.png", 3, "id", "i1", "id.png", "0");
  EXPECT_TRUE(logHas("[Error 062] #085# Критическая ошибка обработки данных. Код ошибки: \"database is locked\""));
  ASSERT_EQ(p.ctx.history.RunHistory.count(), 1);
  EXPECT_EQ(p.main.linksTable.itemCount(), 1);
  CopyGroupText(p.ctx.main, p.ctx.history, p.ctx.clipboard, 4, 3);
  EXPECT_EQ(p.clipboard.text(), BbCode(p.ctx.history.RunHistory.at(0)));
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 0);
}

// The program's statements are kept from image to image: one refused while the file was
// held does not stop the next, and between images the file is free for another program
// to take whole at once.
TEST_F(SettingsFileTest, AfterARefusedRowTheNextIsStoredAndNothingIsHeldBetweenImages) {
  ASSERT_TRUE(load());
  AddHistoryRecord(p.ctx, "/tmp/a.png", 0, "a", "i1", "a.png", "0");
  {
    HeldLock lock(p.dbPath(), "BEGIN EXCLUSIVE");
    AddHistoryRecord(p.ctx, "/tmp/b.png", 0, "b", "i1", "b.png", "0");
  }
  AddHistoryRecord(p.ctx, "/tmp/c.png", 0, "c", "i1", "c.png", "0");
  EXPECT_EQ(scalar("SELECT group_concat(image_id, ' ') FROM CVU_HISTORY"), "a c");
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 3);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(p.dbPath().c_str(), &other), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(other);
  sqlite3_close(other);
}

// Another program writing to the file: reading works, each refused write is reported.
TEST_F(SettingsFileTest, WritesRefusedWhileAnotherProgramWritesAreReported) {
  storeRow("wPosTop=200, wPosLeft=300, mYv_1='old'");
  HeldLock lock(p.dbPath(), "BEGIN IMMEDIATE");
  ASSERT_TRUE(load());
  EXPECT_TRUE(p.dialogs.messages.empty());
  EXPECT_EQ(p.main.myv1.value, "old");
  p.main.confirmDelete.isChecked = true;
  CVU_ConfirmDeleteClick(p.ctx);
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_TRUE(Contains(p.dialogs.messages[0], "database is locked"));
  EXPECT_TRUE(p.main.confirmDelete.isChecked);  // the box keeps its new state
  SaveSettings(p.ctx);
  EXPECT_EQ(p.dialogs.messages.size(), 2u);
  EXPECT_FALSE(p.ctx.db.isOpen());
}

class ReadOnlyFileTest : public StoreTest {
 protected:
  bool loadReadOnly() {
    p.ctx.databasePath = "file:" + p.dbPath() + "?mode=ro";
    return load();
  }
};

TEST_F(ReadOnlyFileTest, LoadsAndReportsOnlyTheWritesThatFail) {
  storeRow("wPosTop=200, wPosLeft=300, mYv_1='old', auto_upload=1");
  sql("INSERT INTO CVU_HISTORY(image_id) VALUES('a')");
  ASSERT_TRUE(loadReadOnly());
  EXPECT_TRUE(p.dialogs.messages.empty());
  EXPECT_EQ(p.main.myv1.value, "old");
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 1);

  p.main.autoUpload.isChecked = false;
  CVU_AutoUploadClick(p.ctx);
  ASSERT_EQ(p.dialogs.messages.size(), 1u);  // one box, not one per statement
  EXPECT_TRUE(Contains(p.dialogs.messages[0], "readonly database")) << p.dialogs.messages[0];
  EXPECT_FALSE(p.main.startAutoUpload.isEnabled);

  p.main.myv1.value = "new";
  SaveMyCodeTemplates(p.ctx);
  EXPECT_TRUE(logHas("[Error 068] #201# Ошибка обработки данных. Код ошибки: attempt to write a readonly database"));
  EXPECT_EQ(p.main.myv1.value, "new");

  AddHistoryRecord(p.ctx, "/tmp/a.png", 0, "id", "i1", "id.png", "0");
  EXPECT_TRUE(
      logHas("[Error 062] #085# Критическая ошибка обработки данных. Код ошибки: \"attempt to write a "
             "readonly database\""));
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 1);  // the service has the image: its links stay

  SaveSettings(p.ctx);
  EXPECT_EQ(p.dialogs.messages.size(), 2u);
  EXPECT_EQ(stored("mYv_1"), "old");
  EXPECT_EQ(stored("auto_upload"), "1");
  EXPECT_EQ(scalar("SELECT count(*) FROM CVU_HISTORY"), "1");
}

TEST_F(ReadOnlyFileTest, EmptySettingsTableThatCannotGetItsRowStillStartsUp) {
  sql("INSERT INTO CVU_HISTORY(image_id) VALUES('a')");
  p.ctx.upload.Uploading = true;
  ASSERT_TRUE(loadReadOnly());
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_TRUE(Contains(p.dialogs.messages[0], "readonly database")) << p.dialogs.messages[0];
  EXPECT_TRUE(p.main.frameState.centred);
  EXPECT_FALSE(p.ctx.upload.Uploading);
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 1);
}

// The same through the file's permissions; only meaningful for a user the system
// keeps from writing (not root).
TEST_F(ReadOnlyFileTest, WriteProtectedFileLoads) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
  storeRow("mYv_1='old'");
  std::filesystem::permissions(p.dbPath(), std::filesystem::perms::owner_read);
  ASSERT_TRUE(load());
  EXPECT_EQ(p.main.myv1.value, "old");
  p.main.titleInfo.isChecked = true;
  CVU_TitleInfoClick(p.ctx);
  EXPECT_EQ(p.dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace cvu::test
