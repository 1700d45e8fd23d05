#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/identity.h"
#include "store/store_fixture.h"

namespace cvu::test {
namespace {

using LoadSettingsTest = StoreTest;

TEST_F(LoadSettingsTest, FirstStartGivesTheTableItsRowAndCentresTheWindow) {
  ASSERT_TRUE(load());
  EXPECT_EQ(scalar("SELECT count(*) FROM CVU_DATA"), "1");
  EXPECT_EQ(stored("wPosLeft"), "0");
  EXPECT_EQ(stored("wPosTop"), "0");
  EXPECT_TRUE(p.main.frameState.centred);
  EXPECT_TRUE(p.dialogs.messages.empty());
  EXPECT_EQ(p.main.frameState.title, "Corvane Uploader X5");
  EXPECT_EQ(p.main.aboutTitle.value, "Corvane Uploader X5");
  EXPECT_EQ(p.main.label5.value, "Version 5.8");
  EXPECT_EQ(p.ctx.account.user_name, "Anonymous");
  EXPECT_FALSE(p.main.userSave.isChecked);
  EXPECT_FALSE(p.main.autoUpload.isChecked);
  EXPECT_FALSE(p.main.startAutoUpload.isEnabled);
  EXPECT_EQ(p.main.autoAction.index, 0);
  EXPECT_EQ(p.main.linkMycodeId.index, 0);
  EXPECT_TRUE(p.ctx.db.isOpen());
}

TEST_F(LoadSettingsTest, StoredRowFillsTheControlsAndTheAccount) {
  storeRow(
      "user_hash='h1', user_id='42', user_name='Иван', user_secure='p\"w', wPosTop=200, wPosLeft=300,"
      "mYv_1='[url=%LINK%]', mYv_2=CAST(X'CFF0E8E2E5F20D0A' AS TEXT), mYv_3='c', confirm_delete=1,"
      "title_info=0, auto_upload=1, start_autoupload=1, send_anonymous=1, auto_action=4, link_mycode_id=2");
  ASSERT_TRUE(load());
  EXPECT_EQ(p.ctx.account.user_hash, "h1");
  EXPECT_EQ(p.ctx.account.user_id, "42");
  EXPECT_EQ(p.ctx.account.user_name, "Иван");
  EXPECT_EQ(p.ctx.account.user_secure, "p\"w");
  EXPECT_TRUE(p.main.userSave.isChecked);
  EXPECT_EQ(p.main.userName.value, "Иван");
  EXPECT_EQ(p.main.userSecure.value, "p\"w");
  EXPECT_EQ(p.main.myv1.value, "[url=%LINK%]");
  EXPECT_EQ(p.main.myv2.value, "Привет\r\n");  // stored as Windows-1251 bytes
  EXPECT_EQ(p.main.myv3.value, "c");
  EXPECT_TRUE(p.main.confirmDelete.isChecked);
  EXPECT_FALSE(p.main.titleInfo.isChecked);
  EXPECT_TRUE(p.main.autoUpload.isChecked);
  EXPECT_TRUE(p.main.startAutoUpload.isEnabled);
  EXPECT_TRUE(p.main.startAutoUpload.isChecked);
  EXPECT_TRUE(p.main.sendAnonymous.isChecked);
  EXPECT_EQ(p.main.autoAction.index, 4);
  EXPECT_EQ(p.main.linkMycodeId.index, 2);
  EXPECT_FALSE(p.main.frameState.centred);
  EXPECT_EQ(p.main.frameState.x, 300);
  EXPECT_EQ(p.main.frameState.y, 200);
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST_F(LoadSettingsTest, WindowIsCentredUnlessBothStoredEdgesArePositive) {
  struct Case {
    int top, left;
    bool centred;
  };
  for (const Case c : {Case{200, 300, false}, Case{1, 1, false}, Case{0, 300, true}, Case{200, 0, true},
                       Case{200, -1280, true}, Case{-5, 300, true}}) {
    HeadlessProgram fresh;
    RunSql(fresh.dbPath(), "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(" + std::to_string(c.left) + ", " +
                               std::to_string(c.top) + ")");
    ASSERT_TRUE(LoadSettings(fresh.ctx));
    EXPECT_EQ(fresh.main.frameState.centred, c.centred) << c.top << "," << c.left;
    if (!c.centred) {
      EXPECT_EQ(fresh.main.frameState.x, c.left);
      EXPECT_EQ(fresh.main.frameState.y, c.top);
    }
  }
}

TEST_F(LoadSettingsTest, OneEmptyAccountColumnLoadsNoneOfThem) {
  for (const char* empty : {"user_hash", "user_id", "user_name", "user_secure"}) {
    HeadlessProgram fresh;
    RunSql(fresh.dbPath(),
           "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(0, 0); UPDATE CVU_DATA SET user_hash='h', user_id='1', "
           "user_name='n', user_secure='s'; UPDATE CVU_DATA SET " +
               std::string(empty) + "=''");
    ASSERT_TRUE(LoadSettings(fresh.ctx));
    EXPECT_EQ(fresh.ctx.account.user_hash, "0") << empty;
    EXPECT_EQ(fresh.ctx.account.user_id, "0") << empty;
    EXPECT_EQ(fresh.ctx.account.user_name, "Anonymous") << empty;
    EXPECT_EQ(fresh.ctx.account.user_secure, "0") << empty;
    EXPECT_FALSE(fresh.main.userSave.isChecked) << empty;
    EXPECT_EQ(fresh.main.userName.value, "") << empty;
    EXPECT_EQ(fresh.main.userSecure.value, "") << empty;
  }
}

TEST_F(LoadSettingsTest, AutoActionOutsideTheListSelectsNothingAndIsWrittenBackAsMinusOne) {
  storeRow("auto_action=9");
  ASSERT_TRUE(load());
  EXPECT_EQ(p.main.autoAction.index, -1);
  SaveSettings(p.ctx);
  EXPECT_EQ(stored("auto_action"), "-1");
}

TEST_F(LoadSettingsTest, StartAtOnceWithoutAutomaticUploadIsTickedButDisabled) {
  storeRow("auto_upload=0, start_autoupload=1");
  ASSERT_TRUE(load());
  EXPECT_FALSE(p.main.autoUpload.isChecked);
  EXPECT_TRUE(p.main.startAutoUpload.isChecked);
  EXPECT_FALSE(p.main.startAutoUpload.isEnabled);
}

TEST_F(LoadSettingsTest, MissingSettingsTableEndsTheProgramWithError058) {
  sql("DROP TABLE CVU_DATA; INSERT INTO CVU_HISTORY(image_id) VALUES('keep')");
  EXPECT_FALSE(load());
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_EQ(p.dialogs.messages[0],
            "[Error 058] При загрузке базы данных произошла ошибка\r\nПрограмма будет закрыта\r\n\r\n"
            "При возникновении повторных ошибок, отправьте соответствующую информацию по контактам, указанным "
            "на сайте http://" +
                ServiceHost());
  EXPECT_FALSE(p.ctx.db.isOpen());
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 0);
  SaveSettings(p.ctx);  // nothing is written at exit
  EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_master WHERE name='CVU_DATA'"), "0");
  EXPECT_EQ(scalar("SELECT image_id FROM CVU_HISTORY"), "keep");
}

TEST_F(LoadSettingsTest, TableTestIgnoresLetterCase) {
  sql("ALTER TABLE CVU_DATA RENAME TO cvu_data_old; ALTER TABLE cvu_data_old RENAME TO cvu_data");
  EXPECT_TRUE(load());
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST(LoadSettingsFile, MissingFileIsCreatedEmptyAndFailsTheTableTest) {
  HeadlessProgram p(false);
  EXPECT_FALSE(LoadSettings(p.ctx));
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_EQ(p.dialogs.messages[0].rfind("[Error 058] ", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(p.dbPath()));
}

// A stored value that does not convert is reported; the columns after it are not read,
// and the window is still placed, the run state reset and the history loaded.
TEST_F(LoadSettingsTest, ConversionFailureStopsReadingButStartUpGoesOn) {
  struct Case {
    const char* assignment;
    const char* message;
    bool templatesRead;  // mYv_1 comes after the positions
    bool confirmRead;    // confirm_delete
    bool sendAnonymous;  // stored as 1 (as FALSE in the last case)
    int linkIndex;       // link_mycode_id, stored as 2
  };
  const Case cases[] = {
      {"wPosLeft='3000000000'", "'3000000000' is not a valid integer value", false, false, false, 0},
      {"wPosTop='99999999999'", "'99999999999' is not a valid integer value", false, false, false, 0},
      {"auto_action=-3000000000", "'-3000000000' is not a valid integer value", true, true, true, 0},
      // Texts in numeric columns read as their integer value and do not fail.
      {"title_info='yes'", nullptr, true, true, true, 2},
      {"start_autoupload=''", nullptr, true, true, true, 2},
      {"auto_action='1.5x'", nullptr, true, true, true, 2},
      {"link_mycode_id='1a'", nullptr, true, true, true, 1},
      {"send_anonymous='FALSE'", nullptr, true, true, false, 2},
  };
  for (const Case& c : cases) {
    HeadlessProgram fresh;
    RunSql(fresh.dbPath(),
           "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(300, 200); UPDATE CVU_DATA SET user_hash='h', "
           "user_id='1', user_name='n', user_secure='s', mYv_1='T1', confirm_delete=1, send_anonymous=1, "
           "link_mycode_id=2; INSERT INTO CVU_HISTORY(image_id) VALUES('a'); UPDATE CVU_DATA SET " +
               std::string(c.assignment));
    fresh.ctx.upload.Uploading = true;
    fresh.ctx.upload.GroupNumber = 5;
    ASSERT_TRUE(LoadSettings(fresh.ctx)) << c.assignment;
    if (c.message) {
      ASSERT_EQ(fresh.dialogs.messages, std::vector<std::string>{c.message}) << c.assignment;
    } else {
      EXPECT_TRUE(fresh.dialogs.messages.empty()) << c.assignment;
    }
    EXPECT_EQ(fresh.ctx.account.user_hash, "h") << c.assignment;
    EXPECT_EQ(fresh.main.myv1.value, c.templatesRead ? "T1" : "") << c.assignment;
    EXPECT_EQ(fresh.main.confirmDelete.isChecked, c.confirmRead) << c.assignment;
    EXPECT_EQ(fresh.main.sendAnonymous.isChecked, c.sendAnonymous) << c.assignment;
    EXPECT_EQ(fresh.main.linkMycodeId.index, c.linkIndex) << c.assignment;
    EXPECT_EQ(fresh.main.frameState.centred, !c.templatesRead) << c.assignment;
    EXPECT_FALSE(fresh.ctx.upload.Uploading) << c.assignment;
    EXPECT_EQ(fresh.ctx.upload.GroupNumber, 0) << c.assignment;
    EXPECT_EQ(fresh.ctx.history.FullHistory.count(), 1) << c.assignment;
  }
}

TEST_F(LoadSettingsTest, MissingColumnIsNamedAndLaterColumnsKeepTheirInitialStates) {
  sql("DROP TABLE CVU_DATA; CREATE TABLE CVU_DATA (user_hash TEXT, user_id TEXT, user_name TEXT, "
      "user_secure TEXT, wPosTop INTEGER, wPosLeft INTEGER, mYv_1 TEXT, mYv_3 TEXT, confirm_delete BOOLEAN);"
      "INSERT INTO CVU_DATA VALUES('', '', '', '', 10, 20, 'one', 'three', 1);"
      "INSERT INTO CVU_HISTORY(image_id) VALUES('a')");
  ASSERT_TRUE(load());
  EXPECT_EQ(p.dialogs.messages, std::vector<std::string>{"Field not found in dataset: mYv_2"});
  EXPECT_EQ(p.main.myv1.value, "one");
  EXPECT_EQ(p.main.myv3.value, "");
  EXPECT_FALSE(p.main.confirmDelete.isChecked);
  EXPECT_EQ(p.main.frameState.x, 20);
  EXPECT_EQ(p.main.frameState.y, 10);
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 1);
}

TEST_F(LoadSettingsTest, NullInANumericColumnReadsAsZeroAndInATextColumnAsEmpty) {
  sql("DROP TABLE CVU_DATA; CREATE TABLE CVU_DATA (user_hash TEXT, user_id TEXT, user_name TEXT, "
      "user_secure TEXT, wPosTop INTEGER, wPosLeft INTEGER, mYv_1 TEXT, mYv_2 TEXT, mYv_3 TEXT, "
      "confirm_delete BOOLEAN, title_info BOOLEAN, auto_upload BOOLEAN, start_autoupload BOOLEAN, "
      "send_anonymous BOOLEAN, auto_action INTEGER, link_mycode_id INTEGER);"
      "INSERT INTO CVU_DATA(wPosLeft, wPosTop, auto_action) VALUES(0, 0, 3.7)");
  ASSERT_TRUE(load());
  EXPECT_TRUE(p.dialogs.messages.empty()) << p.dialogs.messages[0];
  EXPECT_EQ(p.main.myv1.value, "");
  EXPECT_FALSE(p.main.confirmDelete.isChecked);
  EXPECT_EQ(p.main.autoAction.index, 3);
  EXPECT_EQ(p.main.linkMycodeId.index, 0);
}

}  // namespace
}  // namespace cvu::test
