#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "common/text.h"
#include "common/timestamp.h"

namespace cvu {
namespace {

struct ReplaceCase {
  const char* source;
  const char* token;
  const char* replacement;
  const char* expected;
};

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescan) {
  const ReplaceCase cases[] = {
      {"a%b%c", "%", "X", "aXbXc"}, {"a%b%c", "%", "", "abc"},        {"%%%", "%%", "Y", "Y%"},
      {"%", "%", "%%", "%%"},       {"abc", "", "Z", "abc"},          {"", "%", "X", ""},
      {"AbA", "a", "x", "AbA"},     {"%P%PIC%", "%P%", "L", "LPIC%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.source, c.token, c.replacement), c.expected) << c.source << " / " << c.token;
  }
}

TEST(TrimControl, RemovesEverythingUpToBlankFromBothEnds) {
  EXPECT_EQ(TrimControl("\r\n\t a b \x01\r\n"), "a b");
  EXPECT_EQ(TrimControl("\r\n\r\n"), "");
  EXPECT_EQ(TrimControl("Привет"), "Привет");
}

TEST(TextConversion, IntegersAndBooleansWithTheirMessages) {
  EXPECT_EQ(TextToInt("42"), 42);
  EXPECT_EQ(TextToInt("-7"), -7);
  EXPECT_EQ(TextToInt("+3"), 3);
  for (const char* bad : {"", "abc", "1.5", " 1", "--1", "+", "+-5", "-+5", "99999999999999999999"}) {
    try {
      TextToInt(bad);
      ADD_FAILURE() << "no failure for '" << bad << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
    }
  }
  EXPECT_TRUE(TextToBool("1"));
  EXPECT_TRUE(TextToBool("-2"));
  EXPECT_FALSE(TextToBool("0"));
  EXPECT_TRUE(TextToBool("tRuE"));
  EXPECT_FALSE(TextToBool("FALSE"));
  // A number too long for an integer is still a number: true unless it is zero.
  EXPECT_TRUE(TextToBool("99999999999999999999"));
  EXPECT_TRUE(TextToBool("-10000000000000000000000"));
  EXPECT_FALSE(TextToBool("+000000000000000000000000"));
  for (const char* bad : {"", "yes", "1x", "+-1", "-", "+"}) {
    try {
      TextToBool(bad);
      ADD_FAILURE() << "no failure for '" << bad << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid boolean value");
    }
  }
}

TEST(Cp1251, RoundTripsCyrillicAndReplacesWhatItLacks) {
  const std::string text = "Фото ёЁ №1 — «x»";
  const std::string bytes = Utf8ToCp1251(text);
  EXPECT_EQ(bytes.size(), 16u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD4);  // Ф
  EXPECT_EQ(Cp1251ToUtf8(bytes), text);
  EXPECT_EQ(Utf8ToCp1251("a中b😀"), "a?b?");
  // A broken sequence is '?' byte by byte: overlong forms (no NUL or '/' reaches the
  // database), surrogates, codes above U+10FFFF, a cut end.
  const std::pair<const char*, const char*> broken[] = {
      {"a\xC0\x80"
       "b",
       "a??b"},
      {"\xC0\xAF", "??"},
      {"\xE0\x80\xAF", "???"},
      {"\xED\xA0\x80", "???"},
      {"\xF4\x90\x80\x80", "????"},
      {"x\xC3", "x?"},
  };
  for (const auto& [utf8, stored] : broken) EXPECT_EQ(Utf8ToCp1251(utf8), stored) << utf8;
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "?");  // the unused byte
}

TEST(Timestamp, RussianLongFormats) {
  EXPECT_EQ(FormatTimestamp({2026, 12, 8, 0, 9, 4}), "8 Декабрь 2026 г. 0:09:04");
  EXPECT_EQ(FormatTimestamp({2059, 1, 1, 23, 59, 59}), "1 Январь 2059 г. 23:59:59");
  EXPECT_EQ(FormatMonthDay({2026, 12, 8, 0, 0, 0}), "12.08");
}

TEST(LastPathComponent, EitherSeparator) {
  EXPECT_EQ(LastPathComponent("C:\\Фото\\my_best_pic.png"), "my_best_pic.png");
  EXPECT_EQ(LastPathComponent("/home/u/a.jpg"), "a.jpg");
  EXPECT_EQ(LastPathComponent("0"), "0");
}

}  // namespace
}  // namespace cvu
