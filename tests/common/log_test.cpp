#include "common/log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "common/cp1251.h"
#include "common/log_menu.h"
#include "support/test_support.h"

namespace cvu::test {
namespace {

constexpr const char* kStamp = "[8 Декабрь 2026 г. 0:09:04] ";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ActivityLog, FormatsStampAndReplacesEveryPercent) {
  struct Case {
    const char* message;
    const char* argument;
    const char* body;
  };
  const Case cases[] = {
      {"Выполняется авторизация...", "", "Выполняется авторизация..."},
      {"Загружаю изображение%...", " \"photo.jpg\" ", "Загружаю изображение \"photo.jpg\" ..."},
      {"a%b%c", "X", "aXbXc"},
      {"no placeholder", "ignored", "no placeholder"},
      {"gone%here", "", "gonehere"},
      {"Ссылка \"%\" скопирована", "100%", "Ссылка \"100%\" скопирована"},
  };
  HeadlessProgram program(false);
  for (const auto& c : cases) program.ctx.AddLogLine(c.message, c.argument);
  ASSERT_EQ(program.main.logList.lines.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(program.main.logList.lines[i], std::string(kStamp) + cases[i].body);
  }
  EXPECT_EQ(program.bigLog.lines, program.main.logList.lines);
}

TEST(ActivityLog, LinesFromManyThreadsArriveWholeAndInOrder) {
  HeadlessProgram program(false);
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&program, t] {
      for (int i = 0; i < kLines; ++i)
        program.ctx.AddLogLine("thread % line", std::to_string(t) + " " + std::to_string(i));
    });
  }
  // The UI thread writes too while the workers run.
  for (int i = 0; i < 50; ++i) program.ctx.AddLogLine("ui %", std::to_string(i));
  for (auto& w : workers) w.join();
  program.ui.drain();

  const auto& lines = program.main.logList.lines;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines + 50));
  EXPECT_EQ(program.bigLog.lines, lines);
  std::map<int, int> next;  // per thread: the line number expected next
  int nextUi = 0;
  for (const auto& body : program.logBodies()) {
    int t = 0;
    int i = 0;
    if (std::sscanf(body.c_str(), "thread %d %d line", &t, &i) == 2) {
      ASSERT_EQ(body, "thread " + std::to_string(t) + " " + std::to_string(i) + " line");
      EXPECT_EQ(i, next[t]++) << "thread " << t;
    } else {
      EXPECT_EQ(body, "ui " + std::to_string(nextUi++));
    }
  }
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(next[t], kLines);
  EXPECT_EQ(nextUi, 50);
}

TEST(ActivityLog, LinesWrittenBeforeTheBigLogExistsReachIt) {
  QueueUiThread ui;
  FixedClock clock;
  HeadlessListBox mainList;
  HeadlessListBox bigList;
  ActivityLog log(ui, clock, mainList);
  log.AddLogLine("[Error 065] #010# Ошибка обработки данных cvxas.common.dll", "");
  std::thread([&log] { log.AddLogLine("from %", "worker"); }).join();
  log.attachBigLog(bigList);
  log.AddLogLine("after", "");
  const std::vector<std::string> expected = {
      std::string(kStamp) + "[Error 065] #010# Ошибка обработки данных cvxas.common.dll",
      std::string(kStamp) + "from worker", std::string(kStamp) + "after"};
  EXPECT_EQ(mainList.lines, expected);
  EXPECT_EQ(bigList.lines, expected);
  EXPECT_EQ(ui.drain(), 1);  // the worker's hand-over finds nothing left to add
  EXPECT_EQ(bigList.lines, expected);
}

class LogMenu : public ::testing::Test {
 protected:
  HeadlessProgram program{false};
  HeadlessListBox& log = program.main.logList;
  void AddLines(int n) {
    for (int i = 0; i < n; ++i) program.ctx.AddLogLine("строка %", std::to_string(i));
  }
};

TEST_F(LogMenu, CopySelectedJoinsThemInListOrder) {
  AddLines(10);
  for (int i : {7, 2, 4}) log.setSelected(i, true);
  N2Click(log, program.clipboard);
  ASSERT_EQ(program.clipboard.history.size(), 1u);
  EXPECT_EQ(*program.clipboard.text(), log.line(2) + "\r\n" + log.line(4) + "\r\n" + log.line(7));
}

TEST_F(LogMenu, CopyWithNothingSelectedLeavesTheClipboard) {
  AddLines(10);
  N2Click(log, program.clipboard);
  EXPECT_TRUE(program.clipboard.history.empty());
}

TEST_F(LogMenu, FileNameFromDateAndLongTime) {
  EXPECT_EQ(LogFileName({2026, 12, 8, 0, 9, 4}), "CorvaneUploader_log.1208_00904.txt");
  EXPECT_EQ(LogFileName({2026, 12, 8, 14, 35, 9}), "CorvaneUploader_log.1208_143509.txt");
  EXPECT_EQ(LogFileName({2027, 3, 1, 9, 0, 0}), "CorvaneUploader_log.0301_90000.txt");
}

TEST_F(LogMenu, SaveWritesTheMainLogInWindows1251WithCrLf) {
  AddLines(2);
  program.ctx.AddLogLine("Файл \"%\"", "фото.jpg");
  const std::string path = program.dir.file("saved log.txt");
  std::ofstream(path) << std::string(5000, 'x');  // an existing, longer file is replaced
  program.dialogs.saveAnswer = path;
  program.clock.time = {2026, 12, 8, 14, 35, 9};
  N3Click(log, program.dialogs, program.clock);

  EXPECT_EQ(program.dialogs.saveProposals, std::vector<std::string>{"CorvaneUploader_log.1208_143509.txt"});
  EXPECT_TRUE(program.dialogs.messages.empty());
  const std::string bytes = ReadBytes(path);
  std::string expected;
  for (const auto& line : log.lines) expected += Utf8ToCp1251(line) + "\r\n";
  EXPECT_EQ(bytes, expected);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.front(), '[');  // no byte-order mark
  // "[8 Декабрь": the Д of the month is byte 0xC4 in Windows-1251.
  EXPECT_EQ(static_cast<unsigned char>(bytes[3]), 0xC4);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_F(LogMenu, SaveOfAnEmptyLogOpensNoDialogEvenWithABigLog) {
  AddLines(3);
  N9Click(log);
  N3Click(log, program.dialogs, program.clock);
  EXPECT_TRUE(program.dialogs.saveProposals.empty());
  EXPECT_EQ(program.bigLog.lines.size(), 3u);
}

TEST_F(LogMenu, CancelledSaveWritesNothing) {
  AddLines(1);
  N3Click(log, program.dialogs, program.clock);
  EXPECT_EQ(program.dialogs.saveProposals.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(program.dir.path()));
  EXPECT_TRUE(program.dialogs.messages.empty());
}

TEST_F(LogMenu, UnwritablePathIsShownAndTheLogKept) {
  AddLines(4);
  program.dialogs.saveAnswer = program.dir.file("no such folder/log.txt");
  N3Click(log, program.dialogs, program.clock);
  ASSERT_EQ(program.dialogs.messages.size(), 1u);
  EXPECT_NE(program.dialogs.messages[0].find("no such folder/log.txt"), std::string::npos)
      << program.dialogs.messages[0];
  EXPECT_EQ(log.count(), 4);
}

TEST_F(LogMenu, ClearEmptiesTheMainLogOnly) {
  AddLines(5);
  log.setSelected(1, true);
  N9Click(log);
  EXPECT_EQ(log.count(), 0);
  EXPECT_FALSE(log.isSelected(1));
  EXPECT_EQ(program.bigLog.lines.size(), 5u);
  program.ctx.AddLogLine("next", "");
  EXPECT_EQ(log.count(), 1);
  EXPECT_EQ(program.bigLog.lines.size(), 6u);
}

}  // namespace
}  // namespace cvu::test
