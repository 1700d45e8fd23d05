#include <gtest/gtest.h>

#include "xml/xml_document.h"
#include "xml_test_util.h"

namespace cvu {
namespace {

using enum TXmlElementType;

// A child in a compact form: element name, "#" + text for a run of text, "!" + comment,
// "[" + CDATA section.
std::string Describe(const XmlNode& node) {
  switch (node.ElementType()) {
    case xeoCharData:
      return "#" + node.Value();
    case xeoComment:
      return "!" + node.Value();
    case xeoCData:
      return "[" + node.Value();
    default:
      return node.Name();
  }
}

struct ContentCase {
  const char* xml;
  const char* value;                  // Value of the document element
  std::vector<std::string> children;  // its children, described
};

TEST(ElementContent, TextRunsChildrenAndTheElementValue) {
  const ContentCase cases[] = {
      {"<a>x</a>", "x", {}},
      {"<a> x \r\n</a>", " x \r\n", {}},  // a leaf keeps its raw text
      {"<a>   </a>", "   ", {}},
      {"<a></a>", "", {}},
      {"<a/>", "", {}},
      {"<a x='1' />", "", {}},
      {"<a>t1<b/>t2</a>", "t1", {"b", "#t2"}},
      {"<a>\r\n  <b/>\r\n  <c>v</c>\r\n</a>", "", {"b", "c"}},
      {"<a>t1 \n<b/>t2 \n</a>", "t1 \n", {"b", "#t2 \n"}},
      // A carriage return after the last child cuts line ends and spaces (not tabs) from every run.
      {"<a>t1 \r\n<b/>t2 \r\n</a>", "t1", {"b", "#t2"}},
      {"<a>t1\t\r\n<b/>\r</a>", "t1\t", {"b"}},
      {"<a>t1 \r\n<b/>m \r\n<c/></a>", "t1 \r\n", {"b", "#m \r\n", "c"}},
      {"<a><![CDATA[x]]></a>", "", {"[x"}},
      {"<a>before<!--c-->after</a>", "before", {"!c", "#after"}},
      {"<a>x<b>y</b>z<c/></a>", "x", {"b", "#z", "c"}},
      {"<a>  <b/>  </a>", "", {"b"}},
      {"<a>p &amp; q</a>", "p &amp; q", {}},
      {"<A>x</a>", "x", {}},
      {"<a>x</ a\t>", "x", {}},
      {"<Альбом>x</аЛЬБОМ>", "x", {}},
      {"<a>x<  /a>", "x", {}},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    ASSERT_NO_THROW(document.LoadFromBytes(std::string("\xEF\xBB\xBF") + c.xml)) << c.xml;
    const XmlNode& root = *document.Root();
    EXPECT_EQ(root.Value(), c.value) << c.xml;
    std::vector<std::string> children;
    for (const auto& child : root.Nodes()) children.push_back(Describe(*child));
    EXPECT_EQ(children, c.children) << c.xml;
  }
}

TEST(ElementContent, ValueAsStringTrimsElementsOnlyAndReplacesReferences) {
  XmlDocument document;
  document.LoadFromBytes(
      "<a>\t\r\n 1 &amp; 2 \r\n</a><b> </b><c><!-- x &lt; y --></c><d><![CDATA[ &gt; ]]></d><e>z<f/>&#65; </e>");
  const auto& top = document.RootNodes().Nodes();
  EXPECT_EQ(top[0]->ValueAsString(), "1 & 2");
  EXPECT_EQ(top[1]->ValueAsString(), "");
  EXPECT_EQ(top[2]->ValueAsString(), "");
  EXPECT_EQ(top[2]->Nodes()[0]->ValueAsString(), " x < y ");
  EXPECT_EQ(top[3]->Nodes()[0]->ValueAsString(), " > ");
  EXPECT_EQ(top[4]->ValueAsString(), "z");
  EXPECT_EQ(top[4]->Nodes()[1]->ValueAsString(), "A ");
}

struct ErrorCase {
  std::string xml;
  std::string error;
};

TEST(ReaderErrors, EveryFailureHasItsText) {
  const ErrorCase cases[] = {
      {"", "Unsupported string encoding"},
      {"<", "Unsupported string encoding"},
      {"hello", "No root element found in xml"},
      {"#404#Albums#", "No root element found in xml"},
      {"\xEF\xBB\xBF", "No root element found in xml"},
      {"  \r\n", "No root element found in xml"},
      {"<?xml version='1.0'?><!-- only --><!DOCTYPE x>", "No root element found in xml"},
      {"<>", "Missing element name"},
      {"< />", "Missing element name"},
      {"<a", "Missing element name"},
      {"<a x='1>text</a>", "Missing element name"},
      {"<a><b", "Missing element name"},
      {"<a>x", "Missing close tag in element a"},
      {"<a><b></b>", "Missing close tag in element a"},
      {"<a><!-- open", "Missing close tag in element a"},
      {"<a><b>x</b></a><c>", "Missing close tag in element c"},
      {"<a>x<", "Missing data after \"<\" in element a"},
      {"<a>x< \r\n", "Missing data after \"<\" in element a"},
      {"<a>x</a", "Missing \">\" in close tag of element a"},
      {"<a>x</a 'b>", "Missing \">\" in close tag of element a"},
      {"<a>x</b>", "Incorrect close tag in element a"},
      {"<a><b>x</a></b>", "Incorrect close tag in element b"},
      {"<albums><album>x</albums>", "Incorrect close tag in element album"},
      {"\xEF\xBB\xBF<альбом>x</альбомы>", "Incorrect close tag in element альбом"},
  };
  for (const auto& c : cases) {
    XmlDocument document;
    try {
      document.LoadFromBytes(c.xml);
      ADD_FAILURE() << "no failure for " << testing::PrintToString(c.xml);
    } catch (const XmlError& error) {
      EXPECT_EQ(std::string(error.what()), c.error) << testing::PrintToString(c.xml);
    }
    EXPECT_EQ(document.Root(), nullptr) << c.xml;  // nothing half-read is left behind
    EXPECT_TRUE(document.IsEmpty()) << c.xml;
  }
}

std::string Repeat(std::string_view part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

TEST(ReaderErrors, NestingIsLimitedInsteadOfExhaustingTheStack) {
  const int limit = 256;
  const std::string deepest = Repeat("<a>", limit) + "x" + Repeat("</a>", limit);
  EXPECT_EQ(xml_test::LoadError(deepest), "");
  const std::string tooDeep = Repeat("<a>", limit + 1) + Repeat("</a>", limit + 1);
  EXPECT_EQ(xml_test::LoadError(tooDeep), "Elements nested too deeply in xml");
  EXPECT_EQ(xml_test::LoadError(Repeat("<a>", 1000000)), "Elements nested too deeply in xml");
  EXPECT_EQ(xml_test::LoadError(Repeat("<!DOCTYPE a [", 100000)), "Elements nested too deeply in xml");
}

}  // namespace
}  // namespace cvu
