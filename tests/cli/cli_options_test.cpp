// The command line of corvane-upload: options, their values and the usage errors.
#include <gtest/gtest.h>

#include "cli/cli_options.h"
#include "cli/cli_upload_options.h"
#include "headless/headless_windows.h"
#include "upload/upload_options.h"

namespace cvu::cli {
namespace {

CliOptions Parse(const std::vector<std::string>& args) { return ParseCommandLine(args); }

std::string UsageMessage(const std::vector<std::string>& args) {
  try {
    ParseCommandLine(args);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(CliOptionsTest, FilesAndOptionsMixInOrderWithBothValueForms) {
  const CliOptions o = Parse({"a.png", "--quality", "55", "--title=Закат", "-", "--publish", "b.jpg"});
  EXPECT_EQ(o.files, (std::vector<std::string>{"a.png", "-", "b.jpg"}));
  EXPECT_EQ(o.quality, 55);
  EXPECT_EQ(o.title, "Закат");
  EXPECT_TRUE(o.publish);
  EXPECT_EQ(o.format, TextKind::Page);
  EXPECT_FALSE(o.json);
}

TEST(CliOptionsTest, DoubleDashMakesTheRestFilesAndAValueMayStartWithADash) {
  const CliOptions o = Parse({"--thumbtext", "--json", "--", "--json", "-x.png"});
  EXPECT_EQ(o.thumbtext, "--json");
  EXPECT_FALSE(o.json);
  EXPECT_EQ(o.files, (std::vector<std::string>{"--json", "-x.png"}));
}

TEST(CliOptionsTest, QualityMustBeAWholeNumberFrom5To100) {
  EXPECT_EQ(Parse({"--quality", "5", "f.png"}).quality, 5);
  EXPECT_EQ(Parse({"--quality", "100", "f.png"}).quality, 100);
  EXPECT_EQ(UsageMessage({"--quality", "4", "f.png"}), "--quality: 4 is outside 5..100");
  EXPECT_EQ(UsageMessage({"--quality", "101", "f.png"}), "--quality: 101 is outside 5..100");
  EXPECT_EQ(UsageMessage({"--quality", "8O", "f.png"}), "--quality: '8O' is not a whole number");
  EXPECT_EQ(UsageMessage({"--quality", "", "f.png"}), "--quality: '' is not a whole number");
}

TEST(CliOptionsTest, EveryFilterEntryIsReachedByItsValueTextAndLatinName) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {"none", "2"},   {"greyscale", "3"},     {"negative", "4"},       {"Sepia", "5"},        {"edgedetect", "6"},
      {"emboss", "7"}, {"gaussian-blur", "8"}, {"Selective Blur", "9"}, {"mean_removal", "10"}};
  for (const auto& [name, value] : names) EXPECT_EQ(FilterValueByName(name), value) << name;
  for (const auto& [text, value] : FilterEntries()) {
    EXPECT_EQ(FilterValueByName(text), value) << text;
    EXPECT_EQ(FilterValueByName(value), value);
  }
  EXPECT_EQ(FilterValueByName("1"), std::nullopt);
  EXPECT_EQ(FilterValueByName("blur"), std::nullopt);
  EXPECT_EQ(FilterValueByName(""), std::nullopt);
  EXPECT_NE(UsageMessage({"--filter", "sharpen", "f.png"}).find("--filter: unknown filter 'sharpen'"),
            std::string::npos);
}

TEST(CliOptionsTest, FormatNamesEachKindAndExcludesJson) {
  EXPECT_EQ(Parse({"--format", "bb", "f.png"}).format, TextKind::Bb);
  EXPECT_EQ(Parse({"--format=own3", "f.png"}).format, TextKind::Own3);
  EXPECT_NE(UsageMessage({"--format", "BB", "f.png"}).find("--format: unknown text 'BB'"), std::string::npos);
  EXPECT_EQ(UsageMessage({"--format", "html", "--json", "f.png"}), "--json and --format exclude each other");
  EXPECT_TRUE(Parse({"--json", "f.png"}).json);
}

TEST(CliOptionsTest, UsageErrorsNameTheirCause) {
  EXPECT_EQ(UsageMessage({}), "no files given");
  EXPECT_EQ(UsageMessage({"--publish"}), "no files given");
  EXPECT_EQ(UsageMessage({"--bogus", "f.png"}), "unknown option --bogus");
  EXPECT_EQ(UsageMessage({"-q", "f.png"}), "unknown option -q");
  EXPECT_EQ(UsageMessage({"f.png", "--album"}), "--album needs a value");
  EXPECT_EQ(UsageMessage({"--publish=yes", "f.png"}), "--publish takes no value");
  EXPECT_EQ(UsageMessage({"--t", "x", "f.png"}), "option --t is ambiguous (--thumbtext, --title)");
  EXPECT_EQ(UsageMessage({"--convert", "--no-convert", "f.png"}), "--no-convert and --convert exclude each other");
}

TEST(CliOptionsTest, HelpAndVersionNeedNoFiles) {
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"-h"}).help);
  EXPECT_TRUE(Parse({"--version"}).version);
}

TEST(CliOptionsTest, NoConversionUnlessAQualityFilterOrConvertIsChosen) {
  EXPECT_TRUE(SendsNoConversion(Parse({"f.png"})));
  EXPECT_FALSE(SendsNoConversion(Parse({"--quality", "50", "f.png"})));
  EXPECT_FALSE(SendsNoConversion(Parse({"--filter", "sepia", "f.png"})));
  EXPECT_FALSE(SendsNoConversion(Parse({"--convert", "f.png"})));
  EXPECT_TRUE(SendsNoConversion(Parse({"--quality", "50", "--no-convert", "f.png"})));
}

// The window's controls end up as a user would leave them, so ReadUploadOptions reads
// what the command line chose.
TEST(CliOptionsTest, OptionsLandInTheUploadOptionsControls) {
  HeadlessUpOptions window;
  ApplyUploadOptions(Parse({"--quality", "55", "--filter", "sepia", "--thumbtext", "mine", "--title", "Закат",
                            "--album", "12", "--publish", "f.png"}),
                     window);
  EXPECT_TRUE(window.quality.isEnabled);
  EXPECT_EQ(window.filter.itemText(window.filter.itemIndex()), "Sepia ( Сепия )");
  const UploadOptionValues v = ReadUploadOptions(window);
  EXPECT_EQ(v.quality, "55");
  EXPECT_EQ(v.filter, "5");
  EXPECT_EQ(v.thumbtext, "mine");
  EXPECT_EQ(v.title, "Закат");
  EXPECT_EQ(v.album_id, "12");
  EXPECT_EQ(v.nod, "off");
  EXPECT_EQ(v.published, "on");

  // Nothing chosen: the window's initial state.
  ApplyUploadOptions(Parse({"f.png"}), window);
  const UploadOptionValues initial = ReadUploadOptions(window);
  EXPECT_EQ(initial.quality, "80");
  EXPECT_EQ(initial.filter, "2");
  EXPECT_EQ(initial.album_id, "");
  EXPECT_EQ(initial.nod, "on");
  EXPECT_EQ(initial.published, "off");
  EXPECT_EQ(initial.title, "");
  EXPECT_FALSE(window.quality.isEnabled);
}

}  // namespace
}  // namespace cvu::cli
