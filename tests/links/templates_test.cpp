#include "links/templates.h"

#include "links/link_forms.h"
#include "links_fixture.h"

namespace cvu::test {
namespace {

class Templates : public HistoryPageFixture {
 protected:
  void SetUp() override {
    HistoryPageFixture::SetUp();
    SetRunHistory({RecordA(), RecordB()});
  }
  std::string Expand(const std::string& text, int index = 0) {
    main.myv1.value = text;
    return BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, index, 1, false);
  }
};

TEST_F(Templates, ExpandsPlaceholdersInOrderAndCopies) {
  struct Case {
    const char* text;
    int index;
    const char* expected;
  };
  const Case cases[] = {
      {"%TPIC%", 0, "http://i1.{H}/a1b2cd34e567.th.png"},
      {"%TPIC%", 1, "http://i2.{H}/b2c3de45f678.jpg"},
      {"%FP% %A%", 0, "http://{H}/f-a1b2cd34e567 error"},
      {"plain text, 100% as written", 0, "plain text, 100% as written"},
      {"%PIC%|%P%|%TPIC%", 0,
       "http://i1.{H}/a1b2cd34e567.png|http://{H}/i-a1b2cd34e567|http://i1.{H}/a1b2cd34e567.th.png"},
      {"%ID% %FN% %D%", 1, "b2c3de45f678.jpg b.jpg 2 Январь 2059 г. 0:00:01"},
      {"%p% %Pic% %a%", 0, "%p% %Pic% %a%"},
      {"%%P%%", 0, "%http://{H}/i-a1b2cd34e567%"},
      {"[url=%FP%]\r\n[img]%TPIC%[/img]", 1,
       "[url=http://{H}/f-b2c3de45f678]\r\n[img]http://i2.{H}/b2c3de45f678.jpg[/img]"},
  };
  for (const auto& c : cases) {
    clipboard.history.clear();
    const std::string expected = WithHost(c.expected);
    EXPECT_EQ(Expand(c.text, c.index), expected) << c.text;
    EXPECT_EQ(clipboard.history, std::vector<std::string>{expected}) << c.text;
  }
}

TEST_F(Templates, LaterPlaceholdersAreReplacedInsideEarlierValues) {
  HistoryRecord r = RecordA();
  r.base_file = "shot %D% %A% %P%.png";
  SetRunHistory({r});
  // %FN% comes after %P%, so its value keeps "%P%" but gets the date and "error".
  EXPECT_EQ(Expand("%FN%"), "shot 1 Январь 2059 г. 23:59:59 error %P%.png");
}

TEST_F(Templates, EachNumberReadsItsOwnEditor) {
  main.myv1.value = "one %ID%";
  main.myv2.value = "two %ID%";
  main.myv3.value = "three %ID%";
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 1, 1, false), "one b2c3de45f678.jpg");
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 1, 2, false), "two b2c3de45f678.jpg");
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 1, 3, false), "three b2c3de45f678.jpg");
}

TEST_F(Templates, TakesTheListNamedByTheFlag) {
  SetFullHistory({RecordB()});
  main.myv2.value = "%P%";
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 0, 2, true), WithHost("http://{H}/i-b2c3de45f678"));
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 0, 2, false),
            WithHost("http://{H}/i-a1b2cd34e567"));
}

TEST_F(Templates, NoTextAndNoCopyForBadNumberEmptyEditorOrMissingRecord) {
  main.myv1.value = main.myv2.value = main.myv3.value = "%P%";
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 0, 0, false), "");
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 0, 4, false), "");
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 2, 1, false), "");
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, -1, 1, false), "");
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 0, 1, true), "");  // the full history is empty
  main.myv3.value.clear();
  EXPECT_EQ(BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, 0, 3, false), "");
  EXPECT_TRUE(clipboard.history.empty());
}

}  // namespace
}  // namespace cvu::test
