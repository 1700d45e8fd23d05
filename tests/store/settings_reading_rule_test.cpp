// Values of INTEGER- and BOOLEAN-declared columns read as their integer value, the
// way SQLite converts them ("x" is 0, "12abc" is 12); the conversion messages are for
// values of columns declared otherwise.
#include <gtest/gtest.h>

#include "store/store_fixture.h"

namespace cvu::test {
namespace {

using SettingsReadingRuleTest = StoreTest;

TEST_F(SettingsReadingRuleTest, NumericColumnsReadStoredTextAsSqliteConvertsIt) {
  struct Case {
    const char* literal;  // stored in auto_action (INTEGER) and title_info (BOOLEAN)
    int index;
    bool ticked;
  };
  const Case cases[] = {
      {"'x'", 0, false},    {"'12abc'", 12, true}, {"'3abc'", 3, true}, {"' 5'", 5, true},
      {"'1.9'", 1, true},   {"'0.5'", 0, false},   {"'-0x'", 0, false}, {"''", 0, false},
      {"'True'", 0, false}, {"X'34'", 4, true},    {"'+2'", 2, true},
  };
  for (const Case& c : cases) {
    HeadlessProgram fresh;
    RunSql(fresh.dbPath(),
           "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(300, 200); UPDATE CVU_DATA SET "
           "auto_action=" +
               std::string(c.literal) + ", title_info=" + c.literal + ", link_mycode_id=2");
    // What SQLite's own CAST makes of the stored value.
    EXPECT_EQ(QueryText(fresh.dbPath(), "SELECT CAST(auto_action AS INTEGER) FROM CVU_DATA"), std::to_string(c.index))
        << c.literal;
    ASSERT_TRUE(LoadSettings(fresh.ctx)) << c.literal;
    EXPECT_EQ(fresh.dialogs.messages, std::vector<std::string>{}) << c.literal;
    EXPECT_EQ(fresh.main.autoAction.index, c.index < 8 ? c.index : -1) << c.literal;
    EXPECT_EQ(fresh.main.titleInfo.isChecked, c.ticked) << c.literal;
    EXPECT_EQ(fresh.main.linkMycodeId.index, 2) << c.literal;  // read after both
  }
}

TEST_F(SettingsReadingRuleTest, PositionsReadTheirLeadingNumber) {
  storeRow("wPosTop='200px', wPosLeft='300 left'");
  ASSERT_TRUE(load());
  EXPECT_TRUE(p.dialogs.messages.empty());
  EXPECT_FALSE(p.main.frameState.centred);
  EXPECT_EQ(p.main.frameState.x, 300);
  EXPECT_EQ(p.main.frameState.y, 200);
}

// The same texts in columns declared TEXT keep their conversion messages.
TEST_F(SettingsReadingRuleTest, ColumnsOfOtherTypesKeepTheConversionMessages) {
  struct Case {
    const char* assignment;
    const char* message;  // nullptr: loads
    bool ticked;          // title_info
  };
  const Case cases[] = {
      {"wPosTop='x'", "'x' is not a valid integer value", false},
      {"wPosTop='12abc'", "'12abc' is not a valid integer value", false},
      {"title_info='x'", "'x' is not a valid boolean value", false},
      {"title_info=''", "'' is not a valid boolean value", false},
      {"title_info='True'", nullptr, true},
      {"title_info='12'", nullptr, true},
  };
  for (const Case& c : cases) {
    HeadlessProgram fresh;
    RunSql(fresh.dbPath(),
           "DROP TABLE CVU_DATA; CREATE TABLE CVU_DATA (user_hash TEXT, user_id TEXT, user_name TEXT, "
           "user_secure TEXT, wPosTop TEXT, wPosLeft TEXT, mYv_1 TEXT, mYv_2 TEXT, mYv_3 TEXT, confirm_delete TEXT,"
           " title_info TEXT, auto_upload TEXT, start_autoupload TEXT, send_anonymous TEXT, auto_action TEXT,"
           " link_mycode_id TEXT); INSERT INTO CVU_DATA VALUES('', '', '', '', '10', '20', '', '', '', '0', '0',"
           " '0', '0', '0', '0', '0'); UPDATE CVU_DATA SET " +
               std::string(c.assignment));
    ASSERT_TRUE(LoadSettings(fresh.ctx)) << c.assignment;
    if (c.message) {
      EXPECT_EQ(fresh.dialogs.messages, std::vector<std::string>{c.message}) << c.assignment;
    } else {
      EXPECT_TRUE(fresh.dialogs.messages.empty()) << c.assignment;
    }
    EXPECT_EQ(fresh.main.titleInfo.isChecked, c.ticked) << c.assignment;
  }
}

}  // namespace
}  // namespace cvu::test
