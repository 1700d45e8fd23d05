#include <gtest/gtest.h>

#include <sstream>

#include "xml/xml_document.h"

namespace cvu {
namespace {

std::vector<std::string> IdsOf(const XmlNodeList& list) {
  std::vector<std::string> ids;
  for (std::size_t i = 0; i < list.Count(); ++i) ids.push_back(list[i]->AttributeValue("id").value_or("?"));
  return ids;
}

TEST(NodeQuery, FindNodeSearchesDepthFirstInDocumentOrderWithoutTheNodeItself) {
  XmlDocument document;
  document.LoadFromBytes("<r><a><n id='1'/></a><n id='2'><N id='3'/></n></r>");
  const XmlNode& root = *document.Root();
  EXPECT_EQ(root.FindNode("n")->AttributeValue("id"), "1");  // inside the first child before the second child
  EXPECT_EQ(root.FindNode("N")->AttributeValue("id"), "1");
  const XmlNode* second = root.Nodes()[1].get();
  EXPECT_EQ(second->FindNode("n")->AttributeValue("id"), "3");
  EXPECT_EQ(root.FindNode("r"), nullptr);
  EXPECT_EQ(root.FindNode("missing"), nullptr);
}

TEST(NodeQuery, FindNodesListsNestedMatchesAfterTheirAncestor) {
  XmlDocument document;
  document.LoadFromBytes(
      "<album id='0'><album id='1'><x><ALBUM id='2'/></x></album><y><Album id='3'/></y><album id='4'/></album>");
  XmlNodeList list;
  list.Add(document.Root());  // emptied first
  document.Root()->FindNodes("album", list);
  EXPECT_EQ(IdsOf(list), (std::vector<std::string>{"1", "2", "3", "4"}));
  list.Item(0)->FindNodes("album", list);
  EXPECT_EQ(IdsOf(list), (std::vector<std::string>{"2"}));
  list.Item(0)->FindNodes("album", list);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_THROW(list.Item(0), std::out_of_range);
}

TEST(NodeQuery, EveryKindIsFoundUnderItsName) {
  XmlDocument document;
  document.LoadFromBytes("<r>lead<!--c1--><b>in<!--c2-->tail</b>rest<![CDATA[d]]></r>");
  const XmlNode& root = *document.Root();
  EXPECT_EQ(root.FindNode("comment")->Value(), "c1");
  XmlNodeList list;
  root.FindNodes("Comment", list);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[1]->Value(), "c2");
  root.FindNodes("", list);  // runs of text have no name
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[0]->Value(), "tail");
  EXPECT_EQ(list[1]->Value(), "rest");
  EXPECT_EQ(root.FindNode("CDATA")->Value(), "d");
}

TEST(NodeQuery, RootAndIsEmpty) {
  XmlDocument document;
  EXPECT_TRUE(document.IsEmpty());
  EXPECT_EQ(document.Root(), nullptr);
  document.LoadFromBytes("<?xml version='1.0'?><!--c--><first/><second/>");
  ASSERT_NE(document.Root(), nullptr);
  EXPECT_EQ(document.Root()->Name(), "first");
  EXPECT_FALSE(document.IsEmpty());
}

TEST(NodeQuery, LoadFromStreamReadsFromTheFirstByteAndReplacesTheTree) {
  std::istringstream stream("<a><b>1</b></a>");
  stream.seekg(5);
  XmlDocument document;
  document.LoadFromStream(stream);
  EXPECT_EQ(document.Root()->FindNode("b")->ValueAsString(), "1");

  std::string big = "<big>";
  for (int i = 0; i < 20000; ++i) big += "<i>" + std::to_string(i) + "</i>";  // spans several read buffers
  big += "</big>";
  std::istringstream bigStream(big);
  document.LoadFromStream(bigStream);
  EXPECT_EQ(document.Root()->Name(), "big");
  ASSERT_EQ(document.Root()->Nodes().size(), 20000u);
  EXPECT_EQ(document.Root()->Nodes().back()->Value(), "19999");
  EXPECT_EQ(document.RootNodes().Nodes().size(), 1u);
}

}  // namespace
}  // namespace cvu
