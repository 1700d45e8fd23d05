// What corvane-upload prints: the texts of a record, the JSON line, the progress texts
// and the paths read from standard input.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "cli/input_paths.h"
#include "cli/json_text.h"
#include "cli/progress_report.h"
#include "cli/progress_text.h"
#include "cli/record_output.h"
#include "common/identity.h"
#include "links/link_forms.h"
#include "support/test_support.h"

namespace cvu::cli {
namespace {

// The JSON line of one text.
std::string TextJson(const std::string& text) { return JsonObject({{"t", text}}); }

TEST(JsonTextTest, QuotesBackslashesAndControlCharactersAreEscaped) {
  EXPECT_EQ(TextJson("a\"b\\c"), R"({"t":"a\"b\\c"})");
  EXPECT_EQ(TextJson("l1\r\nl2\tx"), R"({"t":"l1\r\nl2\tx"})");
  EXPECT_EQ(TextJson(std::string("\x01\x1f\x7f", 3)), R"({"t":"\u0001\u001f\u007f"})");
  EXPECT_EQ(TextJson(std::string("nul\0end", 7)), R"({"t":"nul\u0000end"})");
  EXPECT_EQ(TextJson("Фото €"), "{\"t\":\"Фото €\"}");
  EXPECT_EQ(TextJson(""), R"({"t":""})");
}

// Whatever the bytes, a parser reads back the text (bad UTF-8 as U+FFFD).
TEST(JsonTextTest, EveryTextParsesBackToItself) {
  const std::vector<std::string> texts = {"plain", "C:\\Фото\\my \"best\".png", "\r\n\t\b\f",
                                          "😀 ok",  std::string("\x00\x7f", 2),  "</script>"};
  for (const auto& text : texts) {
    EXPECT_EQ(nlohmann::json::parse(TextJson(text)).at("t").get<std::string>(), text) << text;
  }
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"a\xff"
       "b",
       "a\uFFFD"
       "b"},                                   // not a UTF-8 byte
      {"\xd0", "\uFFFD"},                      // cut short at the end
      {"\xc0\xaf", "\uFFFD\uFFFD"},            // overlong
      {"\xed\xa0\x80", "\uFFFD\uFFFD\uFFFD"},  // a surrogate
      {"\xe2\x82x", "\uFFFD\uFFFDx"}};         // a lead byte without its followers
  for (const auto& [bytes, read] : broken) {
    EXPECT_EQ(nlohmann::json::parse(TextJson(bytes)).at("t").get<std::string>(), read);
  }
}

TEST(JsonTextTest, AnObjectKeepsItsMembersInOrder) {
  EXPECT_EQ(JsonObject({{"b", "1"}, {"a", "x\"y"}}), R"({"b":"1","a":"x\"y"})");
  EXPECT_EQ(JsonObject({}), "{}");
}

class RecordOutputTest : public ::testing::Test {
 protected:
  void SetUp() override { SetServiceHost("host.test"); }
  void TearDown() override { SetServiceHost(kDefaultServiceHost); }
  const HistoryRecord a{"a1b2cd34e567",
                        "i1",
                        "a1b2cd34e567.png",
                        "a1b2cd34e567.th.png",
                        "my \"pic\".png",
                        "/home/u/my \"pic\".png",
                        "8 Декабрь 2026 г. 0:09:04",
                        "0"};
  const HistoryRecord b = [this] {
    HistoryRecord r = a;
    r.image_th = "0";
    return r;
  }();
  OwnCodes codes;
};

TEST_F(RecordOutputTest, EachKindIsTheProgramsOwnText) {
  EXPECT_EQ(RecordText(a, TextKind::Page, codes), "http://host.test/i-a1b2cd34e567");
  EXPECT_EQ(RecordText(a, TextKind::Full, codes), FullViewLink(a));
  EXPECT_EQ(RecordText(a, TextKind::Direct, codes), "http://i1.host.test/a1b2cd34e567.png");
  EXPECT_EQ(RecordText(a, TextKind::Thumb, codes), "http://i1.host.test/a1b2cd34e567.th.png");
  EXPECT_EQ(RecordText(b, TextKind::Thumb, codes), "http://i1.host.test/a1b2cd34e567.png");
  EXPECT_EQ(RecordText(b, TextKind::Html, codes), HtmlCode(b));
  EXPECT_EQ(RecordText(a, TextKind::Bb, codes), BbCode(a));
}

TEST_F(RecordOutputTest, OwnCodesExpandTheTemplatesAndEmptyOnesGiveNothing) {
  codes = {"%FN%: %P%\r\n%TPIC% %A%", "", "[%D%]"};
  EXPECT_EQ(RecordText(b, TextKind::Own1, codes),
            "my \"pic\".png: http://host.test/i-a1b2cd34e567\r\nhttp://i1.host.test/a1b2cd34e567.png error");
  EXPECT_EQ(RecordText(a, TextKind::Own2, codes), "");
  EXPECT_EQ(RecordText(a, TextKind::Own3, codes), "[8 Декабрь 2026 г. 0:09:04]");
  EXPECT_EQ(AsOutputText(RecordText(b, TextKind::Own1, codes)),
            "my \"pic\".png: http://host.test/i-a1b2cd34e567\nhttp://i1.host.test/a1b2cd34e567.png error");
}

TEST_F(RecordOutputTest, TheJsonLineHoldsEveryTextAndEveryField) {
  codes[1] = "line1\r\n\"%ID%\"";
  const std::string line = RecordJson(a, codes, "pics/my \"pic\".png");
  EXPECT_EQ(line.find('\n'), std::string::npos);
  const auto json = nlohmann::json::parse(line);
  EXPECT_EQ(json.size(), 1u + 9u + 8u);
  EXPECT_EQ(json.at("file"), "pics/my \"pic\".png");
  for (const TextKind kind : kAllTextKinds) {
    EXPECT_EQ(json.at(TextKindName(kind)), RecordText(a, kind, codes)) << TextKindName(kind);
  }
  EXPECT_EQ(json.at("own2"), "line1\r\n\"a1b2cd34e567.png\"");
  EXPECT_EQ(json.at("image_id"), a.image_id);
  EXPECT_EQ(json.at("folder_id"), a.folder_id);
  EXPECT_EQ(json.at("image_name"), a.image_name);
  EXPECT_EQ(json.at("image_th"), a.image_th);
  EXPECT_EQ(json.at("base_file"), a.base_file);
  EXPECT_EQ(json.at("base_filefolder"), a.base_filefolder);
  EXPECT_EQ(json.at("upload_date"), a.upload_date);
  EXPECT_EQ(json.at("group"), "0");
}

TEST(ProgressTextTest, SizesRatesAndLines) {
  EXPECT_EQ(FormatBytes(0), "0 B");
  EXPECT_EQ(FormatBytes(1023), "1023 B");
  EXPECT_EQ(FormatBytes(204800), "200.0 KB");
  EXPECT_EQ(FormatBytes(1572864), "1.5 MB");
  EXPECT_EQ(FormatBytes(1ull << 30), "1.00 GB");
  EXPECT_EQ(FormatRate(1048576, 0.5), "2.0 MB/s");
  EXPECT_EQ(FormatRate(1000, 0), "-");
  EXPECT_EQ(ProgressLine({1, 5, "b.png", 204800, 0.6, 0.5}), "[2/5] b.png  120.0 KB of 200.0 KB  60%  240.0 KB/s");
  EXPECT_EQ(ProgressLine({0, 1, "a.png", 1000, 1.7, 0}), "[1/1] a.png  1000 B of 1000 B  100%  -");
  EXPECT_EQ(SummaryLine(3, 4, 614400, 0.42), "3 of 4 files uploaded and recorded, 600.0 KB in 0.4 s");
}

// On a terminal each file in flight has a line of its own, cut to the terminal's width
// so it never wraps and leaves a stale row behind when it is drawn anew.
TEST(LiveProgressTest, EachFileInFlightHasOneRowFittedToTheWidth) {
  std::ostringstream err;
  const auto live = MakeLiveProgress(err, [] { return 30; });
  live->progress({0, 3, "a-rather-long-name-Фото.png", 1000, 0.5, 1});
  live->progress({1, 3, "b.png", 1000, 0.1, 1});
  const std::string drawn = err.str();
  EXPECT_NE(drawn.find("[1/3] a-rather-long-name-Фото\x1b[K\n"), std::string::npos) << drawn;
  EXPECT_NE(drawn.find("\x1b[1F\x1b[J[1/3] a-rather-long-name-Фото\x1b[K\n[2/3] b.png  100 B of 1000 B \x1b[K\n"),
            std::string::npos)
      << drawn;
  err.str("");
  live->fileDone({0, 3, "a.png", 1000, 1, 1}, true);
  // The block goes, the done line stays above the row of the file still in flight.
  EXPECT_EQ(err.str(),
            "\x1b[2F\x1b[J[1/3] a.png  1000 B of 1000 B  100%  1000 B/s  done\x1b[K\n"
            "[2/3] b.png  100 B of 1000 B \x1b[K\n");
}

TEST(InputPathsTest, ADashStandsForTheLinesOfStandardInputOnce) {
  std::istringstream in("/p/one.png\r\n\n  two spaced.jpg\n/p/three.gif");
  EXPECT_EQ(ExpandInputPaths({"first.png", "-", "last.png", "-"}, in),
            (std::vector<std::string>{"first.png", "/p/one.png", "  two spaced.jpg", "/p/three.gif", "last.png"}));
  std::istringstream none;
  EXPECT_TRUE(ExpandInputPaths({"-"}, none).empty());
}

}  // namespace
}  // namespace cvu::cli
