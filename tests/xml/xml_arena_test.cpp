#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "xml/xml_arena.h"

namespace cvu {
namespace {

struct Wide {
  alignas(16) std::uint64_t a;
  std::uint64_t b;
};

template <typename T>
bool IsAligned(const T* pointer) {
  return reinterpret_cast<std::uintptr_t>(pointer) % alignof(T) == 0;
}

TEST(XmlArena, SmallPiecesOfMixedAlignmentKeepTheirContentsAcrossBlocks) {
  XmlArena arena;
  std::vector<std::string_view> texts;
  std::vector<Wide*> wides;
  for (int i = 0; i < 20000; ++i) {  // far more than one block holds
    texts.push_back(arena.CopyOf(std::to_string(i) + (i % 3 == 0 ? "x" : "")));
    wides.push_back(arena.Make<Wide>(Wide{static_cast<std::uint64_t>(i), ~static_cast<std::uint64_t>(i)}));
  }
  for (int i = 0; i < 20000; ++i) {
    ASSERT_EQ(texts[i], std::to_string(i) + (i % 3 == 0 ? "x" : "")) << i;
    ASSERT_TRUE(IsAligned(wides[i])) << i;
    ASSERT_EQ(wides[i]->a, static_cast<std::uint64_t>(i)) << i;
    ASSERT_EQ(wides[i]->b, ~static_cast<std::uint64_t>(i)) << i;
  }
}

TEST(XmlArena, LargeCopiesGetBlocksOfTheirOwnBetweenSmallOnes) {
  XmlArena arena;
  const std::string_view before = arena.CopyOf("before");
  const std::string large(200000, 'L');
  const std::string_view copied = arena.CopyOf(large);
  const std::string_view after = arena.CopyOf("after");
  EXPECT_EQ(before, "before");
  EXPECT_EQ(copied, large);
  EXPECT_EQ(after, "after");
}

TEST(XmlArena, AdoptedShortTextsStayWhereTheyAre) {
  // Short strings live inside the string object, so moving one would move its text.
  XmlArena arena;
  std::vector<std::string_view> views;
  for (int i = 0; i < 5000; ++i) views.push_back(arena.Adopt(std::to_string(i)));
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(views[i], std::to_string(i)) << i;
}

}  // namespace
}  // namespace cvu
