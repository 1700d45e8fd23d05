#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "common/cp1251.h"
#include "xml/xml_document.h"
#include "xml_test_util.h"

namespace cvu {
namespace {

using enum TXmlElementType;

// Names and values are read in place; these trees must not depend on the caller's
// bytes or on texts the reader made while reading. Run under AddressSanitizer they
// also catch a view into freed memory.

TEST(DocumentLifetime, TreeOutlivesTheBytesItWasLoadedFrom) {
  XmlDocument document;
  {
    auto bytes = std::make_unique<std::string>(
        "<?xml version=\"1.0\"?>\n<albums kind = 'own' n=\"2\">lead<album>\r\n<album_id> 7 </album_id>"
        "<name>A &amp; B</name></album><!--note--><![CDATA[raw]]>tail\r\n</albums>");
    document.LoadFromBytes(*bytes);
    bytes->assign(bytes->size(), '#');  // the same memory, overwritten, then freed
  }
  const XmlNode* root = document.Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Name(), "albums");
  EXPECT_EQ(root->Value(), "lead");
  EXPECT_EQ(root->Attributes(), (std::vector<std::string>{"kind='own'", "n=\"2\""}));
  EXPECT_EQ(root->AttributeValue("KIND"), "own");
  EXPECT_EQ(root->FindNode("album_id")->ValueAsString(), "7");
  EXPECT_EQ(root->FindNode("name")->ValueAsString(), "A & B");
  ASSERT_EQ(root->Nodes().size(), 4u);
  EXPECT_EQ(root->Nodes()[1]->Value(), "note");
  EXPECT_EQ(root->Nodes()[2]->Value(), "raw");
  EXPECT_EQ(root->Nodes()[3]->ElementType(), xeoCharData);
  EXPECT_EQ(root->Nodes()[3]->Value(), "tail");  // trailing line end cut after a carriage return
  EXPECT_EQ(root->Nodes()[3]->Parent(), root);
  EXPECT_EQ(document.RootNodes().Nodes()[0]->AttributeValue("version"), "1.0");
}

TEST(DocumentLifetime, TreeOutlivesTheStreamItWasLoadedFrom) {
  XmlDocument document;
  {
    std::istringstream stream("<r><a x='1'>short</a></r>");
    document.LoadFromStream(stream);
  }
  EXPECT_EQ(document.Root()->FindNode("a")->Value(), "short");
  EXPECT_EQ(document.Root()->FindNode("a")->AttributeValue("x"), "1");
}

TEST(DocumentLifetime, NodesReadFromDecodedTextAndFromTheInputAfterASwitchToUtf8) {
  // The 8-bit comment makes the reader decode the whole input; the declaration after
  // it switches the rest to UTF-8, read in place. Both texts must stay.
  XmlDocument document;
  document.LoadFromBytes(std::string("<!--\xC0\xC1--><?xml version='1.0'?><r>Привет</r>"));
  const auto& top = document.RootNodes().Nodes();
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[0]->Value(), Cp1251ToUtf8("\xC0\xC1"));
  EXPECT_EQ(document.Root()->Value(), "Привет");
  EXPECT_EQ(document.Encoding(), StringEncoding::seoUTF8);

  // A declaration that keeps the code page: read in place first, the rest decoded.
  document.LoadFromBytes(std::string("<?xml version='1.0' encoding='windows-1251'?><r>\xCF\xF0</r>"));
  EXPECT_EQ(document.RootNodes().Nodes()[0]->AttributeValue("encoding"), "windows-1251");
  EXPECT_EQ(document.Root()->Value(), "Пр");

  document.LoadFromBytes(xml_test::Utf16Bytes(u"<r a='ю'>я</r>", false, true));
  EXPECT_EQ(document.Root()->Value(), "я");
  EXPECT_EQ(document.Root()->AttributeValue("a"), "ю");
}

TEST(DocumentLifetime, ReloadReplacesTheTreeAndAFailedLoadLeavesItEmpty) {
  XmlDocument document;
  document.LoadFromBytes("<first><x>1</x></first>");
  document.LoadFromBytes("<second><y>2</y></second>");
  EXPECT_EQ(document.Root()->Name(), "second");
  EXPECT_EQ(document.Root()->FindNode("x"), nullptr);
  EXPECT_EQ(document.Root()->FindNode("y")->ValueAsString(), "2");
  EXPECT_EQ(document.RootNodes().Nodes().size(), 1u);

  EXPECT_THROW(document.LoadFromBytes("<third><z>3</z>"), XmlError);
  EXPECT_EQ(document.Root(), nullptr);
  EXPECT_TRUE(document.IsEmpty());
  EXPECT_TRUE(document.RootNodes().Nodes().empty());
  EXPECT_EQ(document.RootNodes().Document(), &document);
}

TEST(DocumentLifetime, LongJoinedAttributeAndManyNodesSpanSeveralBlocks) {
  const std::string longValue(100000, 'v');
  std::string xml = "<r a = \"" + longValue + "\">";
  for (int i = 0; i < 5000; ++i) xml += "<i n = '" + std::to_string(i) + "'>t" + std::to_string(i) + "<b/></i>";
  xml += "</r>";
  XmlDocument document;
  document.LoadFromBytes(xml);
  EXPECT_EQ(document.Root()->AttributeValue("a"), longValue);
  const auto& items = document.Root()->Nodes();
  ASSERT_EQ(items.size(), 5000u);
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(items[i]->AttributeValue("n"), std::to_string(i)) << i;
    ASSERT_EQ(items[i]->Value(), "t" + std::to_string(i)) << i;
    ASSERT_EQ(items[i]->Nodes().size(), 1u) << i;
    ASSERT_EQ(items[i]->Nodes()[0]->Parent(), items[i].get()) << i;
  }
}

}  // namespace
}  // namespace cvu
