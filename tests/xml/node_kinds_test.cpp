#include <gtest/gtest.h>

#include "xml/xml_document.h"

namespace cvu {
namespace {

using enum TXmlElementType;

struct KindCase {
  const char* tag;  // read at top level, before a document element "<r/>"
  TXmlElementType type;
  const char* name;
  const char* value;
  std::vector<std::string> attributes;
};

TEST(NodeKinds, EachOpeningGivesItsKindNameAndValue) {
  const KindCase cases[] = {
      {"<![CDATA[ a <b> ]] ]]>", xeoCData, "CData", " a <b> ]] ", {}},
      {"<!-- a -- b -->", xeoComment, "Comment", " a -- b ", {}},
      {"<!DOCTYPE albums SYSTEM  \"a b.dtd\">", xeoDoctype, "albums", "SYSTEM \"a b.dtd\"", {}},
      {"<!DOCTYPExy z>", xeoDoctype, "y", "z", {}},  // the character after the opening is dropped
      {"<!ELEMENT album (album_id, name)>", xeoElement, "album", "(album_id,\nname)", {}},
      {"<!ATTLIST a b CDATA #IMPLIED>", xeoAttList, "a", "b\nCDATA\n#IMPLIED", {}},
      {"<!ENTITY e \"x > y\">", xeoEntity, "e", "\"x > y\"", {}},
      {"<!NOTATION n SYSTEM 'v'>", xeoNotation, "n", "SYSTEM\n'v'", {}},
      {"<?xml-stylesheet type=\"text/xsl\" href='a.xsl' ?>",
       xeoStylesheet,
       "xml-stylesheet",
       "type=\"text/xsl\" href='a.xsl'",
       {"type=\"text/xsl\"", "href='a.xsl'"}},
      {"<?xml version=\"1.0\" standalone='yes'?>", xeoDeclaration, "xml", "", {"version=\"1.0\"", "standalone='yes'"}},
      {"<?xml a='?>'?>", xeoDeclaration, "xml", "", {"a='?>'"}},
      {"<!foo bar>", xeoExclam, "Special", "foo bar", {}},
      {"<!doctype x>", xeoExclam, "Special", "doctype x", {}},  // openings are case-sensitive
      {"<?pi data?>", xeoQuestion, "Special", "pi data", {}},
      {"<?XML v='1'?>", xeoQuestion, "Special", "XML v='1'", {}},
      {"<!-- unterminated --", xeoComment, "Comment", "", {}},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    ASSERT_NO_THROW(document.LoadFromBytes(std::string("<r/>") + c.tag)) << c.tag;
    const auto& top = document.RootNodes().Nodes();
    ASSERT_EQ(top.size(), 2u) << c.tag;
    const XmlNode& node = *top[1];
    EXPECT_EQ(node.ElementType(), c.type) << c.tag;
    EXPECT_EQ(node.Name(), c.name) << c.tag;
    EXPECT_EQ(node.Value(), c.value) << c.tag;
    EXPECT_EQ(node.Attributes(), c.attributes) << c.tag;
    EXPECT_TRUE(node.Nodes().empty()) << c.tag;
  }
}

TEST(NodeKinds, DoctypeInternalSubsetIsReadAsChildNodes) {
  XmlDocument document;
  document.LoadFromBytes("<!DOCTYPE r SYSTEM \"r.dtd\" [ <!ENTITY e 'v'> x <!-- c --> ] junk ><r>t</r>");
  const auto& top = document.RootNodes().Nodes();
  ASSERT_EQ(top.size(), 2u);
  const XmlNode& doctype = *top[0];
  EXPECT_EQ(doctype.Name(), "r");
  EXPECT_EQ(doctype.Value(), "SYSTEM \"r.dtd\"");
  ASSERT_EQ(doctype.Nodes().size(), 2u);
  EXPECT_EQ(doctype.Nodes()[0]->ElementType(), xeoEntity);
  EXPECT_EQ(doctype.Nodes()[0]->Value(), "'v'");
  EXPECT_EQ(doctype.Nodes()[1]->ElementType(), xeoComment);
  EXPECT_EQ(doctype.Nodes()[1]->Parent(), &doctype);
  EXPECT_EQ(document.Root()->Value(), "t");
}

TEST(NodeKinds, TopLevelKeepsEverythingButTextInDocumentOrder) {
  XmlDocument document;
  document.LoadFromBytes("lead <?xml version='1.0'?> text <!--c--><a/>more<b>x</b><?xml version='1.0'?>");
  const auto& top = document.RootNodes().Nodes();
  ASSERT_EQ(top.size(), 5u);
  EXPECT_EQ(top[0]->ElementType(), xeoDeclaration);
  EXPECT_EQ(top[1]->ElementType(), xeoComment);
  EXPECT_EQ(top[2]->Name(), "a");
  EXPECT_EQ(top[3]->Name(), "b");
  EXPECT_EQ(top[4]->ElementType(), xeoDeclaration);
  EXPECT_EQ(document.Root(), top[2].get());
  EXPECT_EQ(document.Root()->Parent(), &document.RootNodes());
  EXPECT_EQ(document.Root()->Document(), &document);
  EXPECT_EQ(document.RootNodes().Parent(), nullptr);
}

}  // namespace
}  // namespace cvu
