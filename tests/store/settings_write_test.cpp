#include <gtest/gtest.h>

#include <filesystem>

#include "common/cp1251.h"
#include "store/store_fixture.h"

namespace cvu::test {
namespace {

class SettingsWriteTest : public StoreTest {
 protected:
  void SetUp() override { ASSERT_TRUE(load()); }
  // A second start over the file this program left.
  void restartInto(HeadlessProgram& next) {
    std::filesystem::copy_file(p.dbPath(), next.dbPath(), std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(LoadSettings(next.ctx));
  }
};

TEST_F(SettingsWriteTest, EachOptionBoxWritesItsColumnAtOnce) {
  struct Case {
    const char* column;
    HeadlessCheckBox& box;
    void (*click)(StoreContext&);
  };
  const Case cases[] = {{"confirm_delete", p.main.confirmDelete, CVU_ConfirmDeleteClick},
                        {"title_info", p.main.titleInfo, CVU_TitleInfoClick},
                        {"start_autoupload", p.main.startAutoUpload, CVU_StartAutoUploadClick},
                        {"send_anonymous", p.main.sendAnonymous, CVU_SendAnonymousClick}};
  for (const Case& c : cases) {
    c.box.isChecked = true;
    c.click(p.ctx);
    EXPECT_EQ(stored(c.column), "1") << c.column;
    EXPECT_EQ(stored("auto_upload"), "0") << c.column;  // no other column moves
    c.box.isChecked = false;
    c.click(p.ctx);
    EXPECT_EQ(stored(c.column), "0") << c.column;
  }
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST_F(SettingsWriteTest, UntickingAutomaticUploadAlsoClearsStartAtOnce) {
  p.main.autoUpload.isChecked = true;
  CVU_AutoUploadClick(p.ctx);
  EXPECT_TRUE(p.main.startAutoUpload.isEnabled);
  p.main.startAutoUpload.isChecked = true;
  CVU_StartAutoUploadClick(p.ctx);
  EXPECT_EQ(stored("auto_upload"), "1");
  EXPECT_EQ(stored("start_autoupload"), "1");

  p.main.autoUpload.isChecked = false;
  CVU_AutoUploadClick(p.ctx);
  EXPECT_FALSE(p.main.startAutoUpload.isChecked);
  EXPECT_FALSE(p.main.startAutoUpload.isEnabled);
  EXPECT_EQ(stored("auto_upload"), "0");
  EXPECT_EQ(stored("start_autoupload"), "0");

  p.main.autoUpload.isChecked = true;
  CVU_AutoUploadClick(p.ctx);
  EXPECT_TRUE(p.main.startAutoUpload.isEnabled);
  EXPECT_FALSE(p.main.startAutoUpload.isChecked);
  EXPECT_EQ(stored("auto_upload"), "1");
  EXPECT_EQ(stored("start_autoupload"), "0");
}

// Templates are stored as typed: quotes, column names and SQL are just text.
TEST_F(SettingsWriteTest, TemplatesAreStoredExactlyWhateverTheyHold) {
  struct Case {
    std::string text;
  };
  const Case cases[] = {{"[url=%LINK%][img]%THUMB%[/img][/url]\r\n<a href=\"%LINK%\">"},
                        {"user_id"},
                        {"\", user_name=\"hacked"},
                        {"x\"; DROP TABLE CVU_HISTORY; --"},
                        {"'); DELETE FROM CVU_DATA; --"},
                        {""}};
  sql("UPDATE CVU_DATA SET user_id='42', user_name='me'");
  for (const Case& c : cases) {
    p.main.myv1.value = c.text;
    p.main.myv2.value = "b";
    p.main.myv3.value = c.text + "3";
    SaveMyCodeTemplates(p.ctx);
    EXPECT_EQ(stored("mYv_1"), c.text);
    EXPECT_EQ(stored("mYv_2"), "b");
    EXPECT_EQ(stored("mYv_3"), c.text + "3");
  }
  EXPECT_TRUE(p.logBodies().empty());
  EXPECT_EQ(stored("user_id"), "42");
  EXPECT_EQ(stored("user_name"), "me");
  EXPECT_EQ(scalar("SELECT count(*) FROM CVU_DATA"), "1");
  EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_master WHERE name='CVU_HISTORY'"), "1");
}

TEST_F(SettingsWriteTest, TemplatesAreStoredInWindows1251AndReadBack) {
  p.main.myv1.value = "Ссылка: %LINK%\r\nЁжик";
  p.main.myv2.value = "日本 € ok";  // no such letters in the code page, except the euro sign
  SaveMyCodeTemplates(p.ctx);
  EXPECT_EQ(QueryBytes(p.dbPath(), "SELECT mYv_1 FROM CVU_DATA"), Utf8ToCp1251("Ссылка: %LINK%\r\nЁжик"));
  EXPECT_EQ(QueryBytes(p.dbPath(), "SELECT mYv_2 FROM CVU_DATA"), "?? \x88 ok");
  SaveSettings(p.ctx);
  HeadlessProgram next;
  restartInto(next);
  EXPECT_EQ(next.main.myv1.value, "Ссылка: %LINK%\r\nЁжик");
  EXPECT_EQ(next.main.myv2.value, "?? € ok");
}

TEST_F(SettingsWriteTest, RefusedTemplateWriteIsLoggedAs068) {
  p.main.myv1.value = "old";
  SaveMyCodeTemplates(p.ctx);
  sql("CREATE TRIGGER no_templates BEFORE UPDATE OF mYv_1 ON CVU_DATA BEGIN SELECT RAISE(ABORT, 'templates 100% "
      "frozen'); END");
  p.main.myv1.value = "new";
  SaveMyCodeTemplates(p.ctx);
  EXPECT_EQ(p.logBodies(),
            std::vector<std::string>{"[Error 068] #201# Ошибка обработки данных. Код ошибки: templates 100% frozen"});
  EXPECT_EQ(stored("mYv_1"), "old");
  EXPECT_EQ(p.main.myv1.value, "new");
  EXPECT_TRUE(p.dialogs.messages.empty());
}

TEST_F(SettingsWriteTest, ExitStatementWithoutSavedAccountEmptiesTheAccountColumns) {
  sql("UPDATE CVU_DATA SET user_hash='h', user_id='1', user_name='n', user_secure='s'");
  p.main.frameState.moveTo(300, 200);
  p.main.autoAction.index = 4;
  p.main.linkMycodeId.index = -1;
  p.ctx.account = AccountValues{"h2", "2", "n2", "s2"};  // logged in, but not asked to remember
  SaveSettings(p.ctx);
  EXPECT_FALSE(p.ctx.db.isOpen());
  EXPECT_EQ(stored("wPosTop"), "200");
  EXPECT_EQ(stored("wPosLeft"), "300");
  for (const char* column : {"user_hash", "user_id", "user_name", "user_secure"}) EXPECT_EQ(stored(column), "");
  EXPECT_EQ(stored("auto_action"), "4");
  EXPECT_EQ(stored("link_mycode_id"), "-1");
  EXPECT_EQ(scalar("SELECT typeof(wPosTop) || typeof(auto_action)"
                   " FROM CVU_DATA"),
            "integerinteger");
}

TEST_F(SettingsWriteTest, ExitStatementStoresTheAccountValuesWhenAskedTo) {
  p.main.userSave.isChecked = true;
  p.main.userName.value = "typed";  // the edits are not what is stored
  p.main.userSecure.value = "typed";
  p.ctx.account = AccountValues{"a\"b", "user_id", "Пётр", "pa\"ss"};
  SaveSettings(p.ctx);
  EXPECT_EQ(stored("user_hash"), "a\"b");
  EXPECT_EQ(stored("user_id"), "user_id");
  EXPECT_EQ(stored("user_name"), "Пётр");
  EXPECT_EQ(stored("user_secure"), "pa\"ss");
  HeadlessProgram next;
  restartInto(next);
  EXPECT_TRUE(next.main.userSave.isChecked);
  EXPECT_EQ(next.ctx.account.user_name, "Пётр");
  EXPECT_EQ(next.main.userSecure.value, "pa\"ss");
}

TEST_F(SettingsWriteTest, TickedBoxWithoutLoginStoresNoAccount) {
  p.main.userSave.isChecked = true;
  p.ctx.account = AccountValues::Anonymous();
  SaveSettings(p.ctx);
  EXPECT_EQ(stored("user_hash"), "");
  EXPECT_EQ(stored("user_name"), "");
}

TEST_F(SettingsWriteTest, CredentialsAreStoredAtOnceAndClearedAtExitWhenTheBoxIsUnticked) {
  SaveCredentials(p.ctx, "hash", "7", "Имя \"x\"", "user_hash");
  EXPECT_EQ(stored("user_hash"), "hash");
  EXPECT_EQ(stored("user_id"), "7");
  EXPECT_EQ(stored("user_name"), "Имя \"x\"");
  EXPECT_EQ(stored("user_secure"), "user_hash");
  EXPECT_EQ(scalar("SELECT count(*) FROM CVU_DATA"), "1");
  ClearStoredCredentials(p.ctx);
  for (const char* column : {"user_hash", "user_id", "user_name", "user_secure"}) EXPECT_EQ(stored(column), "");

  SaveCredentials(p.ctx, "hash", "7", "n", "s");
  p.ctx.account = AccountValues{"hash", "7", "n", "s"};
  p.main.userSave.isChecked = false;
  SaveSettings(p.ctx);
  EXPECT_EQ(stored("user_hash"), "");
}

TEST_F(SettingsWriteTest, RefusedExitStatementIsReportedAndTheDatabaseStillCloses) {
  sql("CREATE TRIGGER no_exit BEFORE UPDATE OF wPosTop ON CVU_DATA BEGIN SELECT RAISE(ABORT, 'kept'); END");
  p.main.frameState.moveTo(300, 200);
  SaveSettings(p.ctx);
  EXPECT_EQ(p.dialogs.messages, std::vector<std::string>{"kept"});
  EXPECT_FALSE(p.ctx.db.isOpen());
  EXPECT_EQ(stored("wPosTop"), "0");
}

}  // namespace
}  // namespace cvu::test
