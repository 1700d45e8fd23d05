#include <gtest/gtest.h>

#include "support/test_support.h"
#include "upload/upload_list.h"

namespace cvu {
namespace {

TEST(UploadList, ExtensionTestLowerCasesAsciiAndLooksAtTheLastComponentOnly) {
  const std::pair<const char*, bool> cases[] = {
      {"/p/a.JPG", true},      {"/p/b.Jpeg", true},  {"/p/c.png", true},      {"/p/d.GIF", true},
      {"/p/c.txt", false},     {"/p/photos", false}, {"/p/x.jpg.bak", false}, {"/p.jpg/noext", false},
      {"C:\\a.b\\pic", false}, {"/p/.png", true},    {"/p/a.jpe", false},     {"/p/фото.JPG", true},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(HasImageExtension(path), expected) << path;
}

class UploadListTest : public ::testing::Test {
 protected:
  test::HeadlessProgram p;
  ListBox& list() { return p.main.uploadTable; }
};

TEST_F(UploadListTest, DropAddsImagesInOrderAndSkipsOthersSilently) {
  DropFiles(p.ctx, {"/p/a.JPG", "/p/b.Jpeg", "/p/c.txt", "/p/photos", "/p/a.JPG"});
  EXPECT_EQ(p.main.uploadTable.lines, (std::vector<std::string>{"/p/a.JPG", "/p/b.Jpeg", "/p/a.JPG"}));
  EXPECT_TRUE(p.dialogs.questions.empty());
  EXPECT_TRUE(p.main.logList.lines.empty());
}

TEST_F(UploadListTest, AutomaticStartAsksAndNoLeavesTheFilesListed) {
  p.main.autoUpload.isChecked = true;
  p.dialogs.answerYes = false;
  DropFiles(p.ctx, {"/p/a.png"});
  ASSERT_EQ(p.dialogs.questions.size(), 1u);
  EXPECT_EQ(p.dialogs.questions[0].first, "Corvane Uploader X5");
  EXPECT_EQ(p.dialogs.questions[0].second, "Вы хотите начать загрузку изображений из списка?");
  EXPECT_EQ(list().count(), 1);
  EXPECT_FALSE(p.ctx.upload.Uploading);
}

TEST_F(UploadListTest, DroppingOnlyOtherFilesAsksOnlyWhenTheListHasEntries) {
  p.main.autoUpload.isChecked = true;
  p.dialogs.answerYes = false;
  DropFiles(p.ctx, {"/p/readme.txt"});
  EXPECT_TRUE(p.dialogs.questions.empty());
  list().addLine("/p/old.png");
  DropFiles(p.ctx, {"/p/readme.txt"});
  EXPECT_EQ(p.dialogs.questions.size(), 1u);
  EXPECT_EQ(list().count(), 1);
}

TEST_F(UploadListTest, AutomaticStartDuringARunDoesNothingAndKeepsTheNewFiles) {
  p.main.autoUpload.isChecked = true;
  p.main.startAutoUpload.isChecked = true;
  p.ctx.upload.Uploading = true;
  p.main.uploadBtn.text = "Остановить загрузку";
  DropFiles(p.ctx, {"/p/a.png", "/p/b.gif"});
  EXPECT_EQ(list().count(), 2);
  EXPECT_TRUE(p.ctx.upload.Uploading);
  EXPECT_EQ(p.main.uploadBtn.text, "Остановить загрузку");
  EXPECT_TRUE(p.main.uploadBtn.isEnabled);
  EXPECT_TRUE(p.dialogs.questions.empty());
}

TEST_F(UploadListTest, OpenFilesUsesTheFilterAndAddsWhateverTheDialogReturns) {
  p.dialogs.openAnswer = {"/p/one.jpg", "/p/two.bmp"};
  CVU_OpenFilesBtnClick(p.ctx);
  ASSERT_EQ(p.dialogs.openFilters.size(), 1u);
  EXPECT_EQ(p.dialogs.openFilters[0],
            "Все доступные форматы|*.jpg; *.jpeg; *.png; *.gif|JPG, JPEG|*.jpg; *.jpeg|PNG|*.png|GIF|*.gif");
  EXPECT_EQ(p.main.uploadTable.lines, (std::vector<std::string>{"/p/one.jpg", "/p/two.bmp"}));
  p.dialogs.openAnswer.clear();
  CVU_OpenFilesBtnClick(p.ctx);
  EXPECT_EQ(list().count(), 2);
}

TEST_F(UploadListTest, RemovalQuestionListsThreePathsThenDotsAndCountsEverywhere) {
  for (const char* path : {"/a/1%.png", "/a/2.png", "/a/3.png", "/a/4.png", "/a/5.png", "/a/6.png"}) {
    list().addLine(path);
  }
  for (int i : {0, 2, 3, 4, 5}) list().setSelected(i, true);
  EXPECT_EQ(
      RemovalQuestion(list()),
      "Вы уверены что хотите удалить эти изображения (5) из списка?\r\n\r\n/a/15.png\r\n/a/3.png\r\n/a/4.png\r\n...");
}

TEST_F(UploadListTest, RemovalAsksOnlyWithConfirmationAndHonoursTheAnswer) {
  for (const char* path : {"/a/1.png", "/a/2.png", "/a/3.png"}) list().addLine(path);
  list().setSelected(1, true);
  p.main.confirmDelete.isChecked = true;
  p.dialogs.answerYes = false;
  N10Click(p.ctx);
  EXPECT_EQ(list().count(), 3);
  ASSERT_EQ(p.dialogs.questions.size(), 1u);
  EXPECT_EQ(p.dialogs.questions[0].second,
            "Вы уверены что хотите удалить эти изображения (1) из списка?\r\n\r\n/a/2.png");
  p.dialogs.answerYes = true;
  N10Click(p.ctx);
  EXPECT_EQ(p.main.uploadTable.lines, (std::vector<std::string>{"/a/1.png", "/a/3.png"}));
  p.main.confirmDelete.isChecked = false;
  list().setSelected(0, true);
  list().setSelected(1, true);
  N10Click(p.ctx);
  EXPECT_EQ(list().count(), 0);
  EXPECT_EQ(p.dialogs.questions.size(), 2u);
}

TEST_F(UploadListTest, RemovalDoesNothingWithoutSelectionOrDuringARun) {
  list().addLine("/a/1.png");
  N10Click(p.ctx);
  EXPECT_EQ(list().count(), 1);
  list().setSelected(0, true);
  p.ctx.upload.Uploading = true;
  N10Click(p.ctx);
  EXPECT_EQ(list().count(), 1);
  EXPECT_TRUE(p.dialogs.questions.empty());
}

}  // namespace
}  // namespace cvu
