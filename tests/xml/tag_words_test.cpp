#include <gtest/gtest.h>

#include "xml/tag_words.h"
#include "xml/xml_document.h"

namespace cvu {
namespace {

struct WordsCase {
  const char* tagText;
  std::vector<std::string> words;
};

TEST(TagWords, SplitAtBlanksOutsideQuotesThenJoinEqualsAndQuotedValues) {
  const WordsCase cases[] = {
      {"a", {"a"}},
      {"", {}},
      {" \t\r\n ", {}},
      {"  a \t b  ", {"a", "b"}},
      {"a x=\"1\"", {"a", "x=\"1\""}},
      {"a x = \"1\"", {"a", "x=\"1\""}},
      {"a\tx\r\n=\n'v'", {"a", "x='v'"}},
      {"a x ='1 2' y= \"3\"", {"a", "x='1 2'", "y=\"3\""}},
      {"a x=\"1 'b' 2\"", {"a", "x=\"1 'b' 2\""}},
      {"a \"q\"", {"a", "\"q\""}},                 // no "=" before it: stays apart
      {"a x=\"1\" \"2\"", {"a", "x=\"1\"\"2\""}},  // the word before holds "="
      {"a 'b c", {"a", "'b c"}},                   // an open quote runs to the end
      {"=a b", {"=a", "b"}},
      {"a = = b", {"a==", "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitTagWords(c.tagText), c.words) << c.tagText;
  }
}

struct AttributeCase {
  const char* word;
  const char* name;
  const char* value;
};

TEST(TagWords, AttributeNameAndValue) {
  const AttributeCase cases[] = {
      {"x=\"a &amp; b\"", "x", "a & b"},
      {"x='v'", "x", "v"},
      {"x=v", "x", "v"},
      {"x", "x", ""},
      {"x=\"v", "x", "\"v"},
      {"x=\"\"", "x", ""},
      {"x='v\"", "x", "'v\""},
      {"x=a=b", "x", "a=b"},
      {"x=\"&#1060;\"", "x", "Ф"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AttributeName(c.word), c.name) << c.word;
    EXPECT_EQ(AttributeValue(c.word), c.value) << c.word;
  }
}

TEST(TagWords, AttributesOfAnElementAreFoundInAnyLetterCase) {
  XmlDocument document;
  document.LoadFromBytes("<a ID = \"5\" title='x &lt; y' flag x=\"1>2\">t</a>");
  const XmlNode& root = *document.Root();
  EXPECT_EQ(root.Attributes(), (std::vector<std::string>{"ID=\"5\"", "title='x &lt; y'", "flag", "x=\"1>2\""}));
  EXPECT_EQ(root.AttributeValue("id"), "5");
  EXPECT_EQ(root.AttributeValue("TITLE"), "x < y");
  EXPECT_EQ(root.AttributeValue("flag"), "");
  EXPECT_EQ(root.AttributeValue("x"), "1>2");
  EXPECT_EQ(root.AttributeValue("missing"), std::nullopt);
  EXPECT_EQ(root.Value(), "t");
}

}  // namespace
}  // namespace cvu
