// Names that are not valid UTF-8 compare by their bytes, and a NUL byte of an 8-bit
// document stays a NUL character instead of turning into "?".
#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "xml/xml_document.h"
#include "xml/xml_text.h"
#include "xml_test_util.h"

namespace cvu {
namespace {

using xml_test::LoadError;

TEST(XmlNames, InvalidUtf8InANameComparesByItsBytes) {
  struct Case {
    std::string xml;
    const char* error;  // "" when the document loads
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF<a\xff>x</a\xfe>", "Incorrect close tag in element a\xff"},
      {"\xEF\xBB\xBF<a\xff>x</a\xff>", ""},
      {"\xEF\xBB\xBF<\xc0>x</\xc1>", "Incorrect close tag in element \xc0"},
      // Overlong forms of "a" and "A" are no letters: they do not fold into each other.
      {"\xEF\xBB\xBF<\xc1\xa1>x</\xc1\x81>", "Incorrect close tag in element \xc1\xa1"},
      // Sequences cut short inside the name.
      {"\xEF\xBB\xBF<x\xe2\x82>x</x\xe2\x83>", "Incorrect close tag in element x\xe2\x82"},
      // Valid names keep comparing without regard to letter case.
      {"\xEF\xBB\xBF<Альбом>x</аЛЬБОМ>", ""},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><A\xd0>x</a\xd0>", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadError(c.xml), c.error) << c.xml;
  EXPECT_FALSE(SameXmlName("a\xff", "a\xfe"));
  EXPECT_FALSE(SameXmlName("\xd0", "\xd1"));
  EXPECT_TRUE(SameXmlName("x\xd0Y", "X\xd0y"));
}

TEST(XmlNames, ANulByteOfAnEightBitDocumentStaysNul) {
  EXPECT_EQ(Cp1251ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "?");  // the one byte Windows-1251 leaves unused
  // "<\0x>" is an element named "\0x", not a processing instruction "<?x>".
  XmlDocument document;
  document.LoadFromBytes(std::string("<r><\0x>t</\0x></r>", 17));
  XmlNode* root = document.Root();
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->Nodes().size(), 1u);
  const XmlNode& child = *root->Nodes()[0];
  EXPECT_EQ(child.ElementType(), TXmlElementType::xeoNormal);
  EXPECT_EQ(child.Name(), std::string("\0x", 2));
  EXPECT_EQ(child.ValueAsString(), "t");
  // (The error's text is a C string: the name's NUL ends it.)
  EXPECT_EQ(LoadError(std::string("<r><\0x>t</\0y></r>", 17)), "Incorrect close tag in element ");
}

}  // namespace
}  // namespace cvu
