#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "xml/xml_document.h"
#include "xml_test_util.h"

namespace cvu {
namespace {

struct Album {
  std::string id;
  std::string name;
  bool operator==(const Album&) const = default;
};

// What the album list takes from an answer: every "album" below the document element
// with the first "album_id" and "name" below it.
std::vector<Album> ReadAlbums(std::string_view body) {
  XmlDocument document;
  document.LoadFromBytes(body);
  XmlNodeList albums;
  document.Root()->FindNodes("album", albums);
  std::vector<Album> result;
  for (std::size_t i = 0; i < albums.Count(); ++i) {
    result.push_back({albums[i]->FindNode("album_id")->ValueAsString(), albums[i]->FindNode("name")->ValueAsString()});
  }
  return result;
}

const std::string kAlbumBody =
    "<albums>\r\n  <album>\r\n    <album_id>\r\n      42 \t</album_id>\r\n"
    "    <name>  Отпуск &amp; море  </name>\r\n  </album>\r\n</albums>\r\n";

struct VariantCase {
  const char* label;
  std::string prefix;
  bool intact;  // Cyrillic arrives as sent, otherwise every byte came from the 8-bit code page
};

TEST(AlbumDocument, CyrillicNamesDependOnMarkAndDeclaration) {
  const VariantCase cases[] = {
      {"byte order mark", "\xEF\xBB\xBF", true},
      {"declaration UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", true},
      {"declaration utf-8", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n", true},
      {"declaration Utf-8", "<?xml version='1.0' encoding='Utf-8' standalone='yes'?>", true},
      {"declaration without encoding", "<?xml version=\"1.0\"?>\r\n", true},
      {"mark and declaration", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>", true},
      {"neither", "", false},
      {"declaration of another code page", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>", false},
  };
  const std::vector<Album> intact = {{"42", "Отпуск & море"}};
  const std::vector<Album> garbled = {{"42", Cp1251ToUtf8("Отпуск") + " & " + Cp1251ToUtf8("море")}};
  ASSERT_NE(intact, garbled);
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAlbums(c.prefix + kAlbumBody), c.intact ? intact : garbled) << c.label;
  }
}

TEST(AlbumDocument, CapitalNamesReferencesOrderAndNesting) {
  const std::string body =
      "\xEF\xBB\xBF<Response><ALBUMS>"
      "<Album><NAME>&#1060;&#x43E;&#X442;&#1086; 1</NAME><Album_ID>7</Album_ID></Album>"
      "<group><album><album_id>8</album_id><info><name>Same</name></info><name>Second name</name></album></group>"
      "<album><album_id>9</album_id><name>Same</name>"
      "<album><album_id>10</album_id><name>Inner &lt;b&gt;</name></album></album>"
      "</ALBUMS></Response>";
  const std::vector<Album> expected = {{"7", "Фото 1"}, {"8", "Same"}, {"9", "Same"}, {"10", "Inner <b>"}};
  EXPECT_EQ(ReadAlbums(body), expected);
}

TEST(AlbumDocument, DocumentElementWithoutAlbumsAndTheDocumentElementItself) {
  EXPECT_TRUE(ReadAlbums("<albums></albums>").empty());
  EXPECT_TRUE(ReadAlbums("<?xml version=\"1.0\"?><albums/>").empty());
  EXPECT_TRUE(ReadAlbums("<album><album_id>1</album_id><name>x</name></album>").empty());
}

TEST(AlbumDocument, UnreadableAnswersFailWithTheReaderText) {
  EXPECT_EQ(xml_test::LoadError(""), "Unsupported string encoding");
  EXPECT_EQ(xml_test::LoadError("#404#Albums#"), "No root element found in xml");
  EXPECT_EQ(xml_test::LoadError("<albums><album><name>x</album></albums>"), "Incorrect close tag in element name");
}

}  // namespace
}  // namespace cvu
