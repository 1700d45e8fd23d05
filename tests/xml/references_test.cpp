#include <gtest/gtest.h>

#include "xml/references.h"

namespace cvu {
namespace {

using namespace std::string_literals;

struct ReferenceCase {
  std::string text;
  std::string expected;
};

TEST(ReplaceReferences, PredefinedAndNumericReferencesOnly) {
  const ReferenceCase cases[] = {
      {"a &amp; b", "a & b"},
      {"&lt;&gt;&apos;&quot;", "<>'\""},
      {"&AMP; &Lt;", "&AMP; &Lt;"},  // case-sensitive
      {"&#65;&#x41;&#X41;&#065;", "AAAA"},
      {"&#1060;&#x43E;&#X442;&#1086;", "Фото"},
      {"&#65534;", "\uFFFE"},
      {"&#0;", "\0"s},
      {"&#65535;&#xFFFF;&#x10000;&#99999999999999999999;", "&#65535;&#xFFFF;&#x10000;&#99999999999999999999;"},
      {"&#;&#x;&#12a;&#xG1;&#-1;&# 1;", "&#;&#x;&#12a;&#xG1;&#-1;&# 1;"},
      {"&nbsp;&copy;&;", "&nbsp;&copy;&;"},
      {"&#xD800;", "\uFFFD"},  // half a surrogate pair is no character of its own
      {"tail &amp", "tail &amp"},
      {"a & b", "a & b"},
      {"AT&T &amp; co", "AT&T &amp; co"},  // the reference runs to the next ";"
      {"&amp;amp;", "&amp;"},              // the replacement is not scanned again
      {"x;&lt;;", "x;<;"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceReferences(c.text), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace cvu
