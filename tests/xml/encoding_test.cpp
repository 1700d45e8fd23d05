#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "xml/encoding_detection.h"
#include "xml/xml_document.h"
#include "xml_test_util.h"

namespace cvu {
namespace {

using namespace std::string_literals;
using enum StringEncoding;
using xml_test::LoadError;
using xml_test::Utf16Bytes;

struct DetectionCase {
  std::string bytes;
  StringEncoding encoding;
  std::size_t skip;
};

TEST(EncodingDetection, FirstEqualRowDecidesComparingOnlyTheBytesRead) {
  const DetectionCase cases[] = {
      {"\x00\x00\xFE\xFF"s, seoUCS4BE, 4},
      {"\xFF\xFE\x00\x00"s, seoUCS4LE, 4},
      {"\x00\x00\xFF\xFE"s, seoUCS4_2143, 4},
      {"\xFE\xFF\x00\x00"s, seoUCS4_3412, 4},
      {"\xFE\xFF\x00<"s, seoUTF16BE, 2},
      {"\xFF\xFE<\x00"s, seoUTF16LE, 2},
      {"\xEF\xBB\xBF<r/>"s, seoUTF8, 3},
      {"\x00\x00\x00<"s, seoUCS4BE, 0},
      {"<\x00\x00\x00"s, seoUCS4LE, 0},
      {"\x00\x00<\x00"s, seoUCS4_2143, 0},
      {"\x00<\x00\x00"s, seoUCS4_3412, 0},
      {"\x00<\x00?"s, seoUTF16BE, 0},
      {"<\x00?\x00"s, seoUTF16LE, 0},
      {"<?xml"s, seoAnsi, 0},
      {"\x4C\x6F\xA7\x94"s, seoEBCDIC, 0},
      {"<r/>"s, seoAnsi, 0},
      // Short inputs: zero compared bytes count as equal.
      {""s, seoUCS4BE, 0},
      {"<"s, seoUCS4LE, 0},
      {"\x00"s, seoUCS4BE, 1},
      {"\xFF\xFE"s, seoUCS4LE, 2},
      {"\xEF\xBB"s, seoUTF8, 2},
      {"<?"s, seoAnsi, 0},
      {"Lo"s, seoEBCDIC, 0},
      {"Lorem"s, seoAnsi, 0},
  };
  for (const auto& c : cases) {
    const DetectedEncoding detected = DetectEncoding(c.bytes);
    EXPECT_EQ(detected.encoding, c.encoding) << testing::PrintToString(c.bytes);
    EXPECT_EQ(detected.skip, c.skip) << testing::PrintToString(c.bytes);
  }
}

TEST(EncodingDetection, UcsFourAndEbcdicAreRefused) {
  for (const std::string& bytes : {""s, "<"s, "\x00\x00\xFE\xFF\x00\x00\x00<"s, "<\x00\x00\x00r\x00\x00\x00"s,
                                   "\x4C\x6F\xA7\x94"s, "\x00\x00<\x00"s, "\x00<\x00\x00"s}) {
    EXPECT_EQ(LoadError(bytes), "Unsupported string encoding") << testing::PrintToString(bytes);
  }
}

struct DecodingCase {
  const char* label;
  std::string bytes;
  std::string value;  // ValueAsString of the document element
  StringEncoding encoding;
};

TEST(Decoding, EveryEncodingReachesTheParserAsUtf8) {
  const std::string cp1251Privet = "\xCF\xF0\xE8\xE2\xE5\xF2";
  const DecodingCase cases[] = {
      {"8-bit code page", "<a>" + cp1251Privet + "</a>", "Привет", seoAnsi},
      {"UTF-8 without mark is read as 8-bit", "<a>Привет</a>", "РџСЂРёРІРµС‚", seoAnsi},
      {"UTF-8 mark", "\xEF\xBB\xBF<a>Привет</a>", "Привет", seoUTF8},
      {"UTF-16LE mark", Utf16Bytes(u"<a>Привет</a>", false, true), "Привет", seoUTF16LE},
      {"UTF-16BE mark", Utf16Bytes(u"<a>Привет</a>", true, true), "Привет", seoUTF16BE},
      {"UTF-16LE declaration", Utf16Bytes(u"<?xml version='1.0'?><a>Привет</a>", false, false), "Привет", seoUTF16LE},
      {"UTF-16BE declaration", Utf16Bytes(u"<?xml version='1.0'?><a>Привет</a>", true, false), "Привет", seoUTF16BE},
      {"surrogate pair", Utf16Bytes(u"<a>\U0001F600</a>", false, true), "\U0001F600", seoUTF16LE},
      {"lone surrogate", Utf16Bytes(u"<a>x\xD800y</a>", false, true), "x\uFFFDy", seoUTF16LE},
      {"odd last byte", Utf16Bytes(u"<a>z</a>", false, true) + "\x20", "z", seoUTF16LE},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    ASSERT_NO_THROW(document.LoadFromBytes(c.bytes)) << c.label;
    ASSERT_NE(document.Root(), nullptr) << c.label;
    EXPECT_EQ(document.Root()->ValueAsString(), c.value) << c.label;
    EXPECT_EQ(document.Encoding(), c.encoding) << c.label;
  }
}

TEST(Decoding, DeclarationNamingUtf8OrNothingSwitchesAnEightBitDocument) {
  const std::string cp1251Privet = "\xCF\xF0\xE8\xE2\xE5\xF2";
  const DecodingCase cases[] = {
      {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>Привет</a>", "Привет", seoUTF8},
      {"utf-8", "<?xml version=\"1.0\" encoding='utf-8'?><a>Привет</a>", "Привет", seoUTF8},
      {"no encoding", "<?xml version=\"1.0\"?><a>Привет</a>", "Привет", seoUTF8},
      {"other encoding", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>" + cp1251Privet + "</a>", "Привет",
       seoAnsi},
      {"other encoding, UTF-8 bytes", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>Привет</a>", "РџСЂРёРІРµС‚",
       seoAnsi},
      // 8-bit letters before the declaration take one byte each; the switch lands right after it.
      {"8-bit text before", "\xCF\xF0<?xml version='1.0'?><a>Привет</a>", "Привет", seoUTF8},
      {"mark wins over declaration", "\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1251'?><a>Привет</a>", "Привет",
       seoUTF8},
      {"8-bit letter inside the declaration", "  <?xml version='1.0' note='\xCF'?><a>Привет</a>", "Привет", seoUTF8},
      {"second declaration switches", "<?xml encoding='cp1251'?>\r\n<?xml version='1.0'?><a>Привет</a>", "Привет",
       seoUTF8},
      {"declaration after the element", "<a>" + cp1251Privet + "</a><?xml version='1.0'?>", "Привет", seoUTF8},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    ASSERT_NO_THROW(document.LoadFromBytes(c.bytes)) << c.label;
    EXPECT_EQ(document.Root()->ValueAsString(), c.value) << c.label;
    EXPECT_EQ(document.Encoding(), c.encoding) << c.label;
  }
}

TEST(Decoding, DeclarationTextIsReadInTheEncodingBeforeTheSwitch) {
  XmlDocument document;
  document.LoadFromBytes("<?xml version='1.0' note='\xCF\xF0' encoding = \"utf-8\"?><a>Привет</a>");
  const XmlNode& declaration = *document.RootNodes().Nodes()[0];
  EXPECT_EQ(declaration.AttributeValue("note"), "Пр");
  EXPECT_EQ(declaration.AttributeValue("ENCODING"), "utf-8");
  EXPECT_EQ(document.Root()->Value(), "Привет");
}

}  // namespace
}  // namespace cvu
