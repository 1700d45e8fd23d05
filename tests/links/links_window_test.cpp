#include <gtest/gtest.h>

#include "common/identity.h"
#include "headless/headless_windows.h"
#include "links/history_page.h"
#include "links/links_window.h"
#include "support/test_support.h"

namespace cvu {
namespace {

HistoryRecord Record(const std::string& id, const std::string& folder, const std::string& name, const std::string& th,
                     const std::string& group = "0") {
  return {id, folder, name, th, "pic.png", "/tmp/pic.png", "8 Декабрь 2026 г. 0:09:04", group};
}

class LinksWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetServiceHost("photo.test");
    auto& run = p.ctx.history.RunHistory;
    run.push_back(Record("a1b2cd34e567", "i1", "a1b2cd34e567.png", "a1b2cd34e567.th.png"));
    run.push_back(Record("b2c3de45f678", "i2", "b2c3de45f678.jpg", "0"));
    FillHistoryView(p.ctx.main.CV_Links_Table(), p.ctx.history, false);
  }
  void TearDown() override { SetServiceHost(kDefaultServiceHost); }
  void Select(int item) { p.main.linksTable.selected = item; }

  test::HeadlessProgram p;
  HeadlessLinks w;
};

TEST_F(LinksWindowTest, NothingSelectedShowsNothing) {
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.shown, 0);
  EXPECT_EQ(w.field(1).text(), "");
}

TEST_F(LinksWindowTest, ImageWithThumbnailUsesTheTallLayout) {
  Select(0);
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.shown, 1);
  EXPECT_EQ(w.outerHeight(), 468);
  EXPECT_TRUE(w.rowVisible(4));
  EXPECT_EQ(w.field(1).text(), "http://photo.test/i-a1b2cd34e567");
  EXPECT_EQ(w.field(2).text(), "http://photo.test/f-a1b2cd34e567");
  EXPECT_EQ(w.field(3).text(), "http://i1.photo.test/a1b2cd34e567.png");
  EXPECT_EQ(w.field(4).text(), "http://i1.photo.test/a1b2cd34e567.th.png");
  EXPECT_EQ(w.field(5).text(),
            "<a href=\"http://photo.test/f-a1b2cd34e567\" target=\"_blank\"><img "
            "src=\"http://i1.photo.test/a1b2cd34e567.th.png\" /></a>");
  EXPECT_EQ(w.field(6).text(),
            "[url=http://photo.test/f-a1b2cd34e567][img]http://i1.photo.test/a1b2cd34e567.th.png[/img][/url]");
  EXPECT_EQ(w.rowFieldTop(5), 214);
  EXPECT_EQ(w.rowLabelTop(7), 351);
}

TEST_F(LinksWindowTest, ImageWithoutThumbnailMovesRowsUpAndBack) {
  Select(1);
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.outerHeight(), 420);
  EXPECT_FALSE(w.rowVisible(4));
  EXPECT_EQ(w.field(4).text(), "http://");
  EXPECT_NE(w.field(5).text().find("src=\"" + w.field(3).text() + "\""), std::string::npos);
  const int expectedLabels[] = {147, 225, 303};
  for (int row = 5; row <= 7; ++row) {
    EXPECT_EQ(w.rowLabelTop(row), expectedLabels[row - 5]);
    EXPECT_EQ(w.rowFieldTop(row), expectedLabels[row - 5] + 19);
  }
  Select(0);
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.outerHeight(), 468);
  EXPECT_EQ(w.rowLabelTop(6), 273);
  EXPECT_EQ(w.rowFieldTop(6), 292);
}

TEST_F(LinksWindowTest, OwnCodeRowFollowsTheChosenTemplate) {
  p.main.linkMycodeId.setItemIndex(1);
  Select(0);
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.field(7).text(), "");
  EXPECT_TRUE(p.clipboard.history.empty());
  p.main.myv2.setText("%P%");
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.field(7).text(), "http://photo.test/i-a1b2cd34e567");
  EXPECT_EQ(p.clipboard.text(), "http://photo.test/i-a1b2cd34e567");
}

TEST_F(LinksWindowTest, FullHistoryRecordsAreUsedWhileShown) {
  p.ctx.history.FullHistory.push_back(Record("c3", "i3", "c3.gif", "0", ""));
  p.ctx.history.FullHistoryShown = true;
  FillHistoryView(p.ctx.main.CV_Links_Table(), p.ctx.history, true);
  p.main.myv1.setText("%ID%");
  Select(0);
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.field(1).text(), "http://photo.test/i-c3");
  EXPECT_EQ(w.field(7).text(), "c3.gif");
}

TEST_F(LinksWindowTest, FailuresAreLoggedAsError063AndTheWindowStillShows) {
  p.main.myv1.setText("%P%");
  p.clipboard.failNext = true;
  Select(0);
  ShowLinksWindow(p.ctx, w);
  EXPECT_EQ(w.shown, 1);
  ASSERT_FALSE(p.logBodies().empty());
  EXPECT_EQ(p.logBodies().back(), "[Error 063] Ошибка при выводе группы ссылок. Код ошибки: Cannot open clipboard");
  EXPECT_EQ(w.field(6).text().rfind("[url=", 0), 0u);  // filled before the failure
}

TEST_F(LinksWindowTest, CopyButtonCopiesTheFieldUnchangedAndSwallowsFailures) {
  Select(0);
  ShowLinksWindow(p.ctx, w);
  CopyLinksRow(p.ctx, w, 5);
  EXPECT_EQ(p.clipboard.text(), w.field(5).text());
  p.clipboard.failNext = true;
  const auto before = p.clipboard.history.size();
  CopyLinksRow(p.ctx, w, 6);
  EXPECT_EQ(p.clipboard.history.size(), before);
}

}  // namespace
}  // namespace cvu
