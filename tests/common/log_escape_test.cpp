// Control characters in a log line's argument (a file name, a server's error text)
// are shown escaped, so every event stays one line on screen and in the saved file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/log.h"
#include "common/log_menu.h"
#include "support/test_support.h"

namespace cvu::test {
namespace {

constexpr const char* kStamp = "[8 Декабрь 2026 г. 0:09:04] ";

TEST(ActivityLog, ControlCharactersOfTheArgumentAreShownEscaped) {
  struct Case {
    const char* message;
    std::string argument;
    const char* body;
  };
  const Case cases[] = {
      {"Файл \"%\" не существует", "a.jpg\r\n[8 Декабрь 2026 г. 0:09:04] Изображения загружены\r\nb.jpg",
       "Файл \"a.jpg\\r\\n[8 Декабрь 2026 г. 0:09:04] Изображения загружены\\r\\nb.jpg\" не существует"},
      {"%", "bare\rcarriage\nreturn", "bare\\rcarriage\\nreturn"},
      {"%", "tab\there", "tab\\there"},
      {"%", std::string("nul\0.jpg", 8), "nul\\x00.jpg"},
      {"%", "\x01\x1b\x1f\x7f", "\\x01\\x1B\\x1F\\x7F"},
      // C1 controls and the Unicode line and paragraph separators break lines as well.
      {"%", "\xc2\x85next\xe2\x80\xa8line\xe2\x80\xa9para", "\\u0085next\\u2028line\\u2029para"},
      // Everything else is kept as it is, backslashes and invalid UTF-8 included.
      {"Ссылка \"%\" скопирована", "Привет 100% C:\\dir\\n.png \xff",
       "Ссылка \"Привет 100% C:\\dir\\n.png \xff\" скопирована"},
      {"x%y", "", "xy"},
  };
  HeadlessProgram program(false);
  for (const Case& c : cases) program.ctx.AddLogLine(c.message, c.argument);
  ASSERT_EQ(program.main.logList.lines.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(program.main.logList.lines[i], std::string(kStamp) + cases[i].body) << i;
  }
  EXPECT_EQ(program.bigLog.lines, program.main.logList.lines);
}

TEST(ActivityLog, AForgedLineInAFileNameStaysInsideItsLineInTheSavedFile) {
  HeadlessProgram program(false);
  program.ctx.AddLogLine("Файл \"%\" не существует", "x\r\n[8 Декабрь 2026 г. 0:09:05] forged\n\rend");
  program.ctx.AddLogLine("Изображения загружены", "");
  const std::string path = program.dir.file("log.txt");
  program.dialogs.saveAnswer = path;
  N3Click(program.main.logList, program.dialogs, program.clock);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(bytes.empty());
  std::size_t lines = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      ASSERT_EQ(bytes[i + 1], '\n') << "a bare CR at byte " << i;
      ++lines;
    } else if (bytes[i] == '\n') {
      ASSERT_EQ(bytes[i - 1], '\r') << "a bare LF at byte " << i;
    }
  }
  EXPECT_EQ(lines, 2u);
}

}  // namespace
}  // namespace cvu::test
