// Names of pasted pictures and the files named by pasted text.
#include <gtest/gtest.h>

#include <set>

#include "upload/pasted_files.h"

namespace cvu {
namespace {

TEST(PastedFiles, APictureIsNamedByTheTimeWithASuffixWhenTaken) {
  const LocalDateTime at{2026, 12, 8, 14, 35, 9};
  std::set<std::string> taken;
  const auto isTaken = [&](const std::string& p) { return taken.count(p) > 0; };
  EXPECT_EQ(PastedImagePath("/d/pasted", at, isTaken), "/d/pasted/2026-12-08_14-35-09.png");
  taken = {"/d/pasted/2026-12-08_14-35-09.png", "/d/pasted/2026-12-08_14-35-09_2.png"};
  EXPECT_EQ(PastedImagePath("/d/pasted", at, isTaken), "/d/pasted/2026-12-08_14-35-09_3.png");
  EXPECT_EQ(PastedFolder("/home/u/data/cvxas.common.dll"), "/home/u/data/pasted");
  EXPECT_EQ(PastedFolder("cvxas.common.dll"), "pasted");
}

TEST(PastedFiles, TextNamesFilesByUrlOrAbsolutePathInOrder) {
  const std::string text =
      "file:///home/u/a%20b.jpg\r\n"
      "just words\n"
      "/tmp/c.png\n"
      "FILE://localhost/tmp/%FF.gif\n"
      "http://example.invalid/x.jpg\n"
      "relative/d.jpg\n"
      "file://otherhost/e.jpg";
  EXPECT_EQ(PathsFromPastedText(text), (std::vector<std::string>{"/home/u/a b.jpg", "/tmp/c.png", "/tmp/\xff.gif"}));
  EXPECT_TRUE(PathsFromPastedText("").empty());
  EXPECT_EQ(PathsFromPastedText("file:///x%2"), std::vector<std::string>{"/x%2"});  // a cut escape stays as it is
}

}  // namespace
}  // namespace cvu
