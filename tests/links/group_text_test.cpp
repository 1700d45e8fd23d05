#include "links/history_page.h"
#include "links/link_forms.h"
#include "links/templates.h"
#include "links_fixture.h"

namespace cvu::test {
namespace {

// Group 0: records A and B; group 1: three numbered images.
class GroupTexts : public HistoryPageFixture {
 protected:
  void SetUp() override {
    HistoryPageFixture::SetUp();
    SetRunHistory({RecordA("0"), RecordB("0"), NumberedRecord(1, "1"), NumberedRecord(2, "1"), NumberedRecord(3, "1")});
    FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, false);
  }
  std::string Clipboard() const { return clipboard.text().value_or("<untouched>"); }
};

TEST_F(GroupTexts, PageLinksOfTheGroupOnLinesWithoutTrailingBreak) {
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 1, 0);
  EXPECT_EQ(Clipboard(), WithHost("http://{H}/i-a1b2cd34e567\r\nhttp://{H}/i-b2c3de45f678"));
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 1, 1);
  EXPECT_EQ(Clipboard(), WithHost("http://{H}/i-id1\r\nhttp://{H}/i-id2\r\nhttp://{H}/i-id3"));
}

TEST_F(GroupTexts, EachKindJoinsItsPiece) {
  const HistoryList& run = ctx.history.RunHistory;
  struct KindCase {
    int kind;
    std::string (*piece)(const HistoryRecord&);
  };
  const KindCase cases[] = {{1, PageLink}, {2, FullViewLink}, {3, HtmlCode}, {4, BbCode}};
  for (const auto& c : cases) {
    CopyGroupText(ctx.main, ctx.history, ctx.clipboard, c.kind, 1);
    EXPECT_EQ(Clipboard(), c.piece(run.at(2)) + "\r\n" + c.piece(run.at(3)) + "\r\n" + c.piece(run.at(4))) << c.kind;
  }
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 4, 0);
  EXPECT_EQ(Clipboard(),
            WithHost("[url=http://{H}/f-a1b2cd34e567][img]http://i1.{H}/a1b2cd34e567.th.png[/img][/url]\r\n"
                     "[url=http://{H}/f-b2c3de45f678][img]http://i2.{H}/b2c3de45f678.jpg[/img][/url]"));
}

TEST_F(GroupTexts, OwnCodeKindsUseTheirTemplate) {
  main.myv1.value = "1:%ID%";
  main.myv2.value = "2:%FN%";
  main.myv3.value = "3:%TPIC%";
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 5, 0);
  EXPECT_EQ(Clipboard(), "1:a1b2cd34e567.png\r\n1:b2c3de45f678.jpg");
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 6, 1);
  EXPECT_EQ(Clipboard(), "2:file1.jpg\r\n2:file2.jpg\r\n2:file3.jpg");
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 7, 0);
  EXPECT_EQ(Clipboard(), WithHost("3:http://i1.{H}/a1b2cd34e567.th.png\r\n3:http://i2.{H}/b2c3de45f678.jpg"));
}

TEST_F(GroupTexts, EmptyPiecesInsideStayAsLinesAtTheEndsAreTrimmed) {
  std::vector<HistoryRecord> run = {RecordA("0"), NumberedRecord(2, "0"), RecordB("0"), NumberedRecord(4, "0")};
  run[0].base_file = "";
  run[1].base_file = " second";
  run[2].base_file = "";
  run[3].base_file = "last \t\r\n";
  SetRunHistory(run);
  FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, false);
  main.myv1.value = "%FN%";
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 5, 0);
  EXPECT_EQ(Clipboard(), "second\r\n\r\nlast");
}

TEST_F(GroupTexts, NothingCopiedForNoTextOrNoSuchKindOrGroup) {
  for (int kind : {5, 6, 7}) CopyGroupText(ctx.main, ctx.history, ctx.clipboard, kind, 1);  // all templates empty
  for (int kind : {0, 8, -1}) CopyGroupText(ctx.main, ctx.history, ctx.clipboard, kind, 0);
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 1, 7);   // no such group
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 1, -1);  // the mark of an ungrouped item
  EXPECT_TRUE(clipboard.history.empty());
}

TEST_F(GroupTexts, NothingWhileTheFullHistoryIsShown) {
  SetFullHistory({RecordA(""), RecordB("")});
  ToggleHistoryView(ctx.main, ctx.history);
  ASSERT_EQ(main.linksTable.itemCount(), 2);
  for (int kind = 1; kind <= 7; ++kind) CopyGroupText(ctx.main, ctx.history, ctx.clipboard, kind, 0);
  EXPECT_TRUE(clipboard.history.empty());
}

TEST_F(GroupTexts, ItemsPointingOutsideTheRunHistoryAreSkipped) {
  main.linksTable.addItem(HistoryItem{"ghost", "", "", 40, 1});
  CopyGroupText(ctx.main, ctx.history, ctx.clipboard, 1, 1);
  EXPECT_EQ(Clipboard(), WithHost("http://{H}/i-id1\r\nhttp://{H}/i-id2\r\nhttp://{H}/i-id3"));
}

}  // namespace
}  // namespace cvu::test
