// Whole upload runs against the local photo-hosting service.
#include <algorithm>
#include <filesystem>

#include "links/link_forms.h"
#include "service/photo_service.h"
#include "support/test_support.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

class UploadRunTest : public test::UploadFixture {
 protected:
  void SetUp() override {
    UploadFixture::SetUp();
    const int port = service.start(0);
    ASSERT_GT(port, 0);
    SetServiceHost("localhost:" + std::to_string(port));
  }
  std::string Stamp() const { return "8 Декабрь 2026 г. 0:09:04"; }

  test::TempDir data;
  service::PhotoService service{{data.path(), "5.8"}};
};

TEST_F(UploadRunTest, ThreeFilesAreUploadedRecordedAndCopied) {
  p.main.autoAction.setItemIndex(4);  // BB codes
  for (const char* name : {"a.jpg", "b.png", "c.gif"}) Queue(MakeFile(name));
  ASSERT_TRUE(RunUpload());

  EXPECT_EQ(p.ctx.history.RunHistory.count(), 3);
  EXPECT_EQ(p.ctx.history.FullHistory.count(), 3);
  EXPECT_EQ(test::QueryText(p.dbPath(), "SELECT COUNT(*) FROM CVU_HISTORY"), "3");
  EXPECT_EQ(p.ctx.history.RunHistory.at(1).base_file, "b.png");
  EXPECT_EQ(p.ctx.history.RunHistory.at(2).group, "0");

  const auto& view = p.main.linksTable;
  ASSERT_EQ(view.groups.count(0), 1u);
  EXPECT_EQ(view.groups.at(0).header, "Группа 1 (" + Stamp() + ")");
  EXPECT_EQ(view.subtitles,
            (std::vector<std::string>{"Изображений загружено: 0 из 3", "Изображений загружено: 1 из 3",
                                      "Изображений загружено: 2 из 3", "Изображений: 3, Загружено: " + Stamp()}));
  ASSERT_EQ(view.itemCount(), 3);
  EXPECT_EQ(view.item(2).groupId, 0);

  // Two steps per file, the maximum reached before the bar is emptied.
  const auto& full = p.main.pbarFull.positions;
  ASSERT_GE(full.size(), 2u);
  EXPECT_EQ(full[full.size() - 2], 6);
  EXPECT_EQ(full.back(), 0);
  EXPECT_EQ(p.main.pbarFull.max, 0);

  std::string expected;
  for (int i = 0; i < 3; ++i) expected += (i ? "\r\n" : "") + BbCode(p.ctx.history.RunHistory.at(i));
  EXPECT_EQ(p.clipboard.text(), expected);

  EXPECT_EQ(p.main.uploadBtn.text, "Загрузить");
  EXPECT_TRUE(p.main.openFilesBtn.isEnabled && p.main.effBtn.isEnabled && p.main.n10.isEnabled);
  EXPECT_EQ(p.ctx.upload.GroupNumber, 1);
  EXPECT_FALSE(p.ctx.upload.GroupOpen);
  EXPECT_EQ(p.main.uploadTable.count(), 0);

  const auto log = LogFrom("Загружаю изображение");
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[0], "Загружаю изображение \"a.jpg\" ...");
  EXPECT_EQ(log[1], "Изображение \"a.jpg\"  загружено");
  EXPECT_EQ(log[2], "Ожидание ссылок...");
  EXPECT_EQ(log[log.size() - 2], "============");
  EXPECT_EQ(log.back(), "Изображения загружены");
}

// Each uploaded file waits on the UI thread once, for the list's update, which says
// whether a successor follows and reads that successor's head, stop and request inputs;
// only the run's first worker reads its head by a hand-over of its own. The group's
// opening, the bars, the log lines and the recorded image are posted; the hand-over
// queues behind them, so the group text at the end still finds every record.
TEST_F(UploadRunTest, EachUploadedFileWaitsOnTheUiThreadOnce) {
  p.main.autoAction.setItemIndex(1);  // page links of the group
  for (const char* name : {"a.jpg", "b.png", "c.gif", "d.jpg"}) Queue(MakeFile(name));
  const int before = p.ui.blockingHandOvers();
  ASSERT_TRUE(RunUpload());
  ASSERT_EQ(p.ctx.history.RunHistory.count(), 4);
  EXPECT_EQ(p.ui.blockingHandOvers() - before, 1 + 4);
  std::string expected;
  for (int i = 0; i < 4; ++i) expected += (i ? "\r\n" : "") + PageLink(p.ctx.history.RunHistory.at(i));
  EXPECT_EQ(p.clipboard.text(), expected);
}

// Commits reach only the log beside the database; the group's end writes them into the
// database file itself, so the file alone, as a power cut would leave it, holds them.
TEST_F(UploadRunTest, TheGroupsRecordsAreInTheDatabaseFileWhenTheGroupEnds) {
  for (const char* name : {"a.jpg", "b.png"}) Queue(MakeFile(name));
  ASSERT_TRUE(RunUpload());
  ASSERT_TRUE(p.ctx.db.isOpen());
  EXPECT_TRUE(p.ctx.db.usesWriteAheadLog());  // the run's start switched to the log
  const std::string fileAlone = p.dbPath() + ".alone";
  std::filesystem::copy_file(p.dbPath(), fileAlone);
  EXPECT_EQ(test::QueryText(fileAlone, "SELECT COUNT(*) FROM CVU_HISTORY"), "2");
}

TEST_F(UploadRunTest, TitleCaptionFollowsTheGroupWhenTicked) {
  p.main.titleInfo.isChecked = true;
  for (const char* name : {"a.jpg", "b.jpg"}) Queue(MakeFile(name));
  ASSERT_TRUE(RunUpload());
  EXPECT_EQ(p.main.frameState.title, "Corvane Uploader X5");
  p.main.titleInfo.isChecked = false;
  p.main.frameState.title = "Изображений загружено: 1 из 2 — Corvane Uploader X5";
  Queue(MakeFile("c.jpg"));
  ASSERT_TRUE(RunUpload());
  EXPECT_EQ(p.main.frameState.title, "Изображений загружено: 1 из 2 — Corvane Uploader X5");
  EXPECT_EQ(p.main.linksTable.groups.at(1).header, "Группа 2 (" + Stamp() + ")");
}

TEST_F(UploadRunTest, AMissingMiddleFileIsSkippedAndCountedOut) {
  Queue(MakeFile("a.jpg"));
  Queue(p.dir.file("b.jpg"));
  Queue(MakeFile("c.jpg"));
  ASSERT_TRUE(RunUpload());
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 2);
  EXPECT_EQ(p.main.linksTable.subtitles,
            (std::vector<std::string>{"Изображений загружено: 0 из 3", "Изображений загружено: 1 из 3",
                                      "Изображений: 2, Загружено: " + Stamp()}));
  const auto& full = p.main.pbarFull.positions;
  EXPECT_EQ(full[full.size() - 2], 6);
  const auto log = p.logBodies();
  EXPECT_NE(std::find(log.begin(), log.end(), "Файл \"b.jpg\" не существует"), log.end());
}

TEST_F(UploadRunTest, AMissingLastFileOrAFolderStillEndsTheGroup) {
  std::filesystem::create_directory(p.dir.file("photos.jpg"));
  p.main.autoAction.setItemIndex(1);
  Queue(MakeFile("a.jpg"));
  Queue(p.dir.file("photos.jpg"));
  ASSERT_TRUE(RunUpload());
  EXPECT_EQ(p.main.uploadBtn.text, "Загрузить");
  EXPECT_EQ(p.logBodies().back(), "Изображения загружены");
  EXPECT_EQ(p.main.linksTable.subtitles.back(), "Изображений: 1, Загружено: " + Stamp());
  EXPECT_EQ(p.clipboard.text(), PageLink(p.ctx.history.RunHistory.at(0)));
}

TEST_F(UploadRunTest, ARunOfMissingFilesTouchesNoGroup) {
  p.main.autoAction.setItemIndex(1);
  Queue(p.dir.file("gone1.jpg"));
  Queue(p.dir.file("gone2.jpg"));
  ASSERT_TRUE(RunUpload());
  EXPECT_TRUE(p.main.linksTable.groups.empty());
  EXPECT_TRUE(p.main.linksTable.subtitles.empty());
  EXPECT_EQ(p.ctx.upload.GroupNumber, 0);
  EXPECT_EQ(p.main.uploadBtn.text, "Загрузить");
  EXPECT_TRUE(p.main.uploadBtn.isEnabled);
  EXPECT_EQ(p.main.pbarFull.max, 0);
  EXPECT_FALSE(p.clipboard.text());
}

// A name that lost bytes on its way in as text is not called missing.
TEST_F(UploadRunTest, ANameThatCouldNotBeReadIsNotCalledMissing) {
  Queue(p.dir.file("\xEF\xBF\xBD.jpg"));
  ASSERT_TRUE(RunUpload());
  const auto log = p.logBodies();
  EXPECT_NE(std::find(log.begin(), log.end(), "Не удалось прочитать имя файла \"\xEF\xBF\xBD.jpg\""), log.end());
  for (const auto& line : log) EXPECT_EQ(line.find("не существует"), std::string::npos) << line;
}

// The file name is an argument of the log line, so a "%" in it stays in the name.
TEST_F(UploadRunTest, AMissingFileIsNamedWholeInItsLogLine) {
  Queue(p.dir.file("100% gone.jpg"));
  ASSERT_TRUE(RunUpload());
  const auto log = LogFrom("Файл ");
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "Файл \"100% gone.jpg\" не существует");
  EXPECT_EQ(log[1], "Не загружено изображений: 1 из 1");
  EXPECT_EQ(log[2], "============");
  EXPECT_EQ(log[3], "Изображения загружены");
}

TEST_F(UploadRunTest, AnEmptyListOnlyLogs) {
  CVU_UploadBtnClick(p.ctx);
  EXPECT_EQ(p.logBodies().back(), "Не выбраны файлы для загрузки");
  EXPECT_FALSE(p.ctx.upload.Uploading);
  EXPECT_EQ(p.main.uploadBtn.text, "Загрузить");
  EXPECT_TRUE(p.ctx.uploadWorkers.idle());
}

TEST_F(UploadRunTest, TheSameFileTwiceIsUploadedTwice) {
  const std::string path = MakeFile("same.png");
  Queue(path);
  Queue(path);
  ASSERT_TRUE(RunUpload());
  ASSERT_EQ(p.ctx.history.RunHistory.count(), 2);
  EXPECT_NE(p.ctx.history.RunHistory.at(0).image_id, p.ctx.history.RunHistory.at(1).image_id);
}

}  // namespace
}  // namespace cvu
