#include "links/history_page.h"

#include "links/link_forms.h"
#include "links_fixture.h"

namespace cvu::test {
namespace {

class HistoryPage : public HistoryPageFixture {
 protected:
  void SetUp() override {
    HistoryPageFixture::SetUp();
    SetRunHistory({RecordA("0"), RecordB("0"), NumberedRecord(1, "1"), NumberedRecord(2, "1"), NumberedRecord(3, "1")});
    SetFullHistory({NumberedRecord(7, ""), RecordB(""), RecordA("")});
    FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, false);
  }
  std::vector<MenuItem*> GroupItems() {
    return {&main.n16, &main.n17, &main.html1, &main.bb1, &main.n18, &main.n21, &main.n31};
  }
  void ExpectNothingSelectedMenu() {
    EXPECT_FALSE(main.n1.enabled());
    EXPECT_FALSE(main.n6.enabled());
    EXPECT_FALSE(main.n7.enabled());
    EXPECT_FALSE(main.n11.enabled());
    EXPECT_EQ(main.n6.caption(), "Скопировать ссылку");
    EXPECT_EQ(main.n7.caption(), "Скопировать прямую ссылку");
    ExpectNoGroupMenu();
    for (MenuItem* item : {&main.n12, &main.n13, &main.n14}) EXPECT_EQ(item->tag(), 0);
  }
  void ExpectNoGroupMenu() {
    EXPECT_FALSE(main.n15.enabled());
    EXPECT_FALSE(main.n15.visible());
    EXPECT_EQ(main.n15.caption(), "Действие над группой");
    for (MenuItem* item : GroupItems()) EXPECT_EQ(item->tag(), 0) << item->caption();
  }
  void ExpectSelectedMenu(int index, const std::string& page, const std::string& direct) {
    EXPECT_TRUE(main.n1.enabled());
    EXPECT_TRUE(main.n6.enabled());
    EXPECT_TRUE(main.n7.enabled());
    EXPECT_TRUE(main.n11.enabled());
    EXPECT_EQ(main.n6.caption(), "Скопировать ссылку " + page);
    EXPECT_EQ(main.n7.caption(), "Скопировать прямую ссылку " + direct);
    for (MenuItem* item : {&main.n12, &main.n13, &main.n14}) EXPECT_EQ(item->tag(), index);
  }
};

TEST_F(HistoryPage, FillsItemsFromTheChosenList) {
  ASSERT_EQ(main.linksTable.itemCount(), 5);
  const HistoryItem first = main.linksTable.item(0);
  EXPECT_EQ(first.caption, "a.png");
  EXPECT_EQ(first.date, "1 Январь 2059 г. 23:59:59");
  EXPECT_EQ(first.path, "/home/u/a.png");
  EXPECT_EQ(first.recordIndex, 0);
  EXPECT_EQ(first.groupId, 0);
  EXPECT_EQ(main.linksTable.item(4).groupId, 1);
  EXPECT_EQ(main.linksTable.item(4).recordIndex, 4);

  FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, true);
  ASSERT_EQ(main.linksTable.itemCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(main.linksTable.item(i).recordIndex, i);
    EXPECT_EQ(main.linksTable.item(i).groupId, -1);
  }
  EXPECT_EQ(main.linksTable.item(2).caption, "a.png");
}

// Counts reads of rows outside the list it passes them on from.
struct CheckedRows : HistoryRows {
  explicit CheckedRows(const HistoryList& rows) : list(rows) {}
  int count() const override { return list.count(); }
  std::string_view caption(int i) const override { return check(i).caption(i); }
  std::string_view date(int i) const override { return check(i).date(i); }
  std::string_view path(int i) const override { return check(i).path(i); }
  const HistoryList& check(int i) const {
    if (!list.has(i)) ++outside;
    return list;
  }
  const HistoryList& list;
  mutable int outside = 0;
};

TEST_F(HistoryPage, FullViewReadsTheFullHistoryInPlace) {
  FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, true);
  EXPECT_EQ(main.linksTable.rows, &ctx.history.FullHistory);
  EXPECT_TRUE(main.linksTable.items.empty());  // no copy per record
  ASSERT_EQ(main.linksTable.itemCount(), 3);
  const HistoryItem last = main.linksTable.item(2);
  EXPECT_EQ(last.caption, "a.png");
  EXPECT_EQ(last.date, "1 Январь 2059 г. 23:59:59");
  EXPECT_EQ(last.path, "/home/u/a.png");
  EXPECT_EQ(main.linksTable.item(0).caption, "file7.jpg");
  EXPECT_EQ(main.linksTable.item(1).path, "/home/u/b.jpg");

  // A record read again after the list was shown is what the view shows.
  HistoryRecord renamed = RecordB("");
  renamed.base_file = "renamed.jpg";
  SetFullHistory({NumberedRecord(7, ""), renamed, RecordA("")});
  EXPECT_EQ(main.linksTable.item(1).caption, "renamed.jpg");

  // A reload with more records: the new ones appear when the list is shown again.
  ctx.history.FullHistory.push_back(NumberedRecord(8, ""));
  EXPECT_EQ(main.linksTable.itemCount(), 3);
  FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, true);
  ASSERT_EQ(main.linksTable.itemCount(), 4);
  EXPECT_EQ(main.linksTable.item(3).caption, "file8.jpg");
  EXPECT_EQ(main.linksTable.item(3).recordIndex, 3);

  FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, false);  // the run view holds its own items again
  EXPECT_EQ(main.linksTable.rows, nullptr);
  EXPECT_EQ(main.linksTable.itemCount(), 5);
  EXPECT_EQ(main.linksTable.item(4).caption, "file3.jpg");
}

TEST_F(HistoryPage, FullViewNeverReadsPastTheLiveRows) {
  CheckedRows rows(ctx.history.FullHistory);
  main.linksTable.showRows(rows);
  SetFullHistory({NumberedRecord(7, "")});  // a reload found fewer records
  ASSERT_EQ(main.linksTable.itemCount(), 3);
  for (int i : {-1, 0, 1, 2, 3}) main.linksTable.item(i);
  EXPECT_EQ(rows.outside, 0);
  EXPECT_EQ(main.linksTable.item(0).caption, "file7.jpg");
  const HistoryItem dropped = main.linksTable.item(2);
  EXPECT_EQ(dropped.caption, "");
  EXPECT_EQ(dropped.recordIndex, 2);
}

TEST_F(HistoryPage, SelectingARecordDroppedSinceTheFullViewWasShownIsLogged) {
  ToggleHistoryView(ctx.main, ctx.history);
  SetFullHistory({NumberedRecord(7, "")});  // a reload found fewer records
  Select(2);
  ExpectSelectedMenu(2, "", "");
  ExpectNoGroupMenu();
  EXPECT_EQ(
      program.logBodies(),
      std::vector<std::string>{"[Error 067] #145# Ошибка при выводе ссылок. Код ошибки: List index out of bounds (2)"});
}

TEST_F(HistoryPage, ToggleTwiceSwitchesViewsAndLogsBothLinesInOrder) {
  main.linksTable.addGroup(0, "Группа 1");
  CVU_HistoryBtnClick(ctx);
  EXPECT_TRUE(ctx.history.FullHistoryShown);
  EXPECT_EQ(main.historyBtn.text(), "Последний запуск");
  EXPECT_FALSE(main.linksTable.groupView());
  EXPECT_EQ(main.linksTable.itemCount(), 3);
  EXPECT_EQ(main.linksTable.scrolledTo, 2);

  CVU_HistoryBtnClick(ctx);
  EXPECT_FALSE(ctx.history.FullHistoryShown);
  EXPECT_EQ(main.historyBtn.text(), "Полная история");
  EXPECT_TRUE(main.linksTable.groupView());
  EXPECT_EQ(main.linksTable.itemCount(), 5);
  EXPECT_EQ(main.linksTable.scrolledTo, 4);
  EXPECT_EQ(main.linksTable.groups.count(0), 1u);  // refilling leaves the groups
  EXPECT_EQ(program.logBodies(), (std::vector<std::string>{"Полная история загружена", "История сессии загружена"}));
  EXPECT_EQ(main.logList.lines, program.bigLog.lines);
}

TEST_F(HistoryPage, ToggleWithoutLoggingAndWithAnEmptyList) {
  SetFullHistory({});
  main.linksTable.scrolledTo = -7;
  ToggleHistoryView(ctx.main, ctx.history);
  EXPECT_TRUE(ctx.history.FullHistoryShown);
  EXPECT_EQ(main.linksTable.itemCount(), 0);
  EXPECT_EQ(main.linksTable.scrolledTo, -7);  // nothing to scroll to
  EXPECT_TRUE(main.logList.lines.empty());
}

TEST_F(HistoryPage, MenuBeforeAnySelection) {
  CV_Links_TableSelectItem(ctx);
  ExpectNothingSelectedMenu();
}

TEST_F(HistoryPage, SelectionInTheRunViewOffersTheNumberedGroupMenu) {
  Select(3);
  ExpectSelectedMenu(3, WithHost("http://{H}/i-id2"), WithHost("http://i2.{H}/id2.jpg"));
  EXPECT_TRUE(main.n15.enabled());
  EXPECT_TRUE(main.n15.visible());
  EXPECT_EQ(main.n15.caption(), "Действие над группой — 2");
  for (MenuItem* item : GroupItems()) EXPECT_EQ(item->tag(), 1) << item->caption();

  Select(1);
  EXPECT_EQ(main.n15.caption(), "Действие над группой — 1");
  for (MenuItem* item : GroupItems()) EXPECT_EQ(item->tag(), 0) << item->caption();

  Select(std::nullopt);
  ExpectNothingSelectedMenu();
  EXPECT_TRUE(main.logList.lines.empty());
}

TEST_F(HistoryPage, SelectionInTheFullViewHidesTheGroupMenu) {
  Select(4);  // a run-view selection first, so the group menu is shown
  ToggleHistoryView(ctx.main, ctx.history);
  Select(1);
  ExpectSelectedMenu(1, WithHost("http://{H}/i-b2c3de45f678"), WithHost("http://i2.{H}/b2c3de45f678.jpg"));
  ExpectNoGroupMenu();
}

TEST_F(HistoryPage, UnreadableRecordIsLoggedAndTheMenuStaysUsable) {
  Select(4);
  main.linksTable.addItem(HistoryItem{"ghost", "", "", 9, 1});
  Select(5);
  ExpectSelectedMenu(9, "", "");
  ExpectNoGroupMenu();
  EXPECT_EQ(
      program.logBodies(),
      std::vector<std::string>{"[Error 067] #145# Ошибка при выводе ссылок. Код ошибки: List index out of bounds (9)"});
}

TEST_F(HistoryPage, BadGroupTextKeepsTheLinksButOffersNoGroup) {
  SetRunHistory({RecordA("0"), RecordB("0"), NumberedRecord(1, "x"), NumberedRecord(2, "1"), NumberedRecord(3, "1")});
  Select(2);
  ExpectSelectedMenu(2, WithHost("http://{H}/i-id1"), WithHost("http://i1.{H}/id1.jpg"));
  ExpectNoGroupMenu();
  EXPECT_EQ(program.logBodies(),
            std::vector<std::string>{
                "[Error 067] #145# Ошибка при выводе ссылок. Код ошибки: 'x' is not a valid integer value"});
}

TEST_F(HistoryPage, CopyLinkAndDirectLinkAreCopiedAndLogged) {
  Select(0);
  N6Click(ctx);
  N7Click(ctx);
  const std::string page = WithHost("http://{H}/i-a1b2cd34e567");
  const std::string direct = WithHost("http://i1.{H}/a1b2cd34e567.png");
  EXPECT_EQ(clipboard.history, (std::vector<std::string>{page, direct}));
  EXPECT_EQ(program.logBodies(),
            (std::vector<std::string>{"Ссылка \"" + page + "\" скопирована", "Ссылка \"" + direct + "\" скопирована"}));
}

TEST_F(HistoryPage, CopyItemsDoNothingWithoutASelection) {
  Select(std::nullopt);
  main.myv1.value = "%P%";
  N6Click(ctx);
  N7Click(ctx);
  N12Click(ctx);
  for (int kind = 1; kind <= 7; ++kind) GroupActionClick(ctx, kind);
  EXPECT_TRUE(clipboard.history.empty());
  EXPECT_TRUE(main.logList.lines.empty());
}

TEST_F(HistoryPage, ClipboardFailureIsShownAndNotReportedAsCopied) {
  Select(0);
  clipboard.failNext = true;
  N6Click(ctx);
  EXPECT_EQ(program.dialogs.messages, std::vector<std::string>{"Cannot open clipboard"});
  EXPECT_TRUE(main.logList.lines.empty());
  main.myv1.value = "%P%";
  clipboard.failNext = true;
  N12Click(ctx);
  clipboard.failNext = true;
  GroupActionClick(ctx, 1);
  EXPECT_EQ(program.dialogs.messages.size(), 3u);
  EXPECT_TRUE(clipboard.history.empty());
  N7Click(ctx);  // the next copy works again
  EXPECT_EQ(clipboard.history, std::vector<std::string>{WithHost("http://i1.{H}/a1b2cd34e567.png")});
}

TEST_F(HistoryPage, OwnCodeItemsExpandForTheSelectedRecordOfTheViewShown) {
  main.myv1.value = "1 %FN%";
  main.myv2.value = "2 %FN%";
  main.myv3.value = "3 %FN%";
  Select(2);
  N12Click(ctx);
  N13Click(ctx);
  N14Click(ctx);
  ToggleHistoryView(ctx.main, ctx.history);
  Select(0);
  N13Click(ctx);
  EXPECT_EQ(clipboard.history, (std::vector<std::string>{"1 file1.jpg", "2 file1.jpg", "3 file1.jpg", "2 file7.jpg"}));
  EXPECT_TRUE(main.logList.lines.empty());
}

TEST_F(HistoryPage, GroupMenuCopiesTheSelectedImagesGroup) {
  Select(3);
  GroupActionClick(ctx, 1);
  GroupActionClick(ctx, 2);
  EXPECT_EQ(clipboard.history,
            (std::vector<std::string>{WithHost("http://{H}/i-id1\r\nhttp://{H}/i-id2\r\nhttp://{H}/i-id3"),
                                      WithHost("http://{H}/f-id1\r\nhttp://{H}/f-id2\r\nhttp://{H}/f-id3")}));
}

}  // namespace
}  // namespace cvu::test

namespace cvu::test {
namespace {

void ExpectSameItems(const HeadlessHistoryView& shown, const HeadlessHistoryView& refilled) {
  ASSERT_EQ(shown.itemCount(), refilled.itemCount());
  for (int i = 0; i < shown.itemCount(); ++i) {
    const HistoryItem a = shown.item(i);
    const HistoryItem b = refilled.item(i);
    EXPECT_EQ(a.caption, b.caption) << i;
    EXPECT_EQ(a.date, b.date) << i;
    EXPECT_EQ(a.path, b.path) << i;
    EXPECT_EQ(a.recordIndex, b.recordIndex) << i;
    EXPECT_EQ(a.groupId, b.groupId) << i;
  }
}

TEST_F(HistoryPage, EachRecordShowsWhatARefillOfTheRunViewWould) {
  for (int n = 4; n < 9; ++n) {
    ctx.history.RunHistory.push_back(NumberedRecord(n, n < 7 ? "1" : "2"));
    RefreshHistoryPage(ctx.main, ctx.history);
    const HeadlessHistoryView shown = main.linksTable;
    FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, false);
    ExpectSameItems(shown, main.linksTable);
  }
  EXPECT_EQ(main.linksTable.itemCount(), 10);
  EXPECT_EQ(main.linksTable.item(9).groupId, 2);
  EXPECT_EQ(main.linksTable.item(9).recordIndex, 9);
}

TEST_F(HistoryPage, RecordAfterTheRunHistoryWasReplacedRefillsTheView) {
  // The same count but other records, then fewer records than the view shows.
  SetRunHistory({NumberedRecord(4, "3"), NumberedRecord(5, "3"), NumberedRecord(6, "3"), NumberedRecord(7, "3")});
  ctx.history.RunHistory.push_back(NumberedRecord(8, "3"));
  RefreshHistoryPage(ctx.main, ctx.history);
  ASSERT_EQ(main.linksTable.itemCount(), 5);
  EXPECT_EQ(main.linksTable.item(0).caption, "file4.jpg");
  EXPECT_EQ(main.linksTable.item(0).groupId, 3);

  SetRunHistory({NumberedRecord(9, "4")});
  RefreshHistoryPage(ctx.main, ctx.history);
  ASSERT_EQ(main.linksTable.itemCount(), 1);
  EXPECT_EQ(main.linksTable.item(0).caption, "file9.jpg");
}

TEST_F(HistoryPage, RecordDropsTheSelectionAsARefillDoes) {
  Select(1);
  ctx.history.RunHistory.push_back(NumberedRecord(4, "1"));
  RefreshHistoryPage(ctx.main, ctx.history);
  EXPECT_FALSE(main.linksTable.selectedItem());
  EXPECT_EQ(main.linksTable.itemCount(), 6);
}

}  // namespace
}  // namespace cvu::test
