// The packed list must give back exactly what it was given, whatever the texts hold,
// and never move a text once stored.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "store/history.h"

namespace cvu::test {
namespace {

HistoryRecord Sample(int n) {
  const std::string i = std::to_string(n);
  return {"a1b2c" + i,           "i1",
          "a1b2c" + i + ".jpg",  "0",
          "photo_" + i + ".jpg", "/home/anna/Pictures/photo_" + i + ".jpg",
          "8 Dec 2026 0:09:04",  ""};
}

std::vector<std::string> Fields(const HistoryRecord& r) {
  return {r.image_id, r.folder_id, r.image_name, r.image_th, r.base_file, r.base_filefolder, r.upload_date, r.group};
}

TEST(HistoryListTest, EveryFieldComesBackWhateverItHolds) {
  const std::string nul("a\0b", 3);
  const std::vector<HistoryRecord> records = {
      {"", "", "", "", "", "", "", ""},
      {"id", "i1", "id.png", "0", "Фото «1».png", "/фото/Фото «1».png", "1 Январь 2059 г. 23:59:59", "12"},
      {std::string(127, 'x'), std::string(128, 'y'), std::string(16383, 'z'), std::string(16384, 'w'), nul, "p",
       std::string(70000, 'q'), "0"},
  };
  HistoryList list;
  for (const auto& r : records) list.push_back(r);
  ASSERT_EQ(list.count(), 3);
  for (int i = 0; i < list.count(); ++i) {
    const std::vector<std::string> expected = Fields(records[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Fields(list.at(i)), expected) << i;
    const HistoryFields inPlace = list.fields(i);
    for (std::size_t f = 0; f < kHistoryFieldCount; ++f) {
      EXPECT_EQ(inPlace[f], expected[f]) << i << " " << f;
      EXPECT_EQ(list.field(i, static_cast<HistoryField>(f)), expected[f]) << i << " " << f;
    }
  }
  const HistoryRows& rows = list;
  EXPECT_EQ(rows.count(), 3);
  EXPECT_EQ(rows.caption(1), "Фото «1».png");
  EXPECT_EQ(rows.path(1), "/фото/Фото «1».png");
  EXPECT_EQ(rows.date(1), "1 Январь 2059 г. 23:59:59");
  EXPECT_EQ(rows.caption(2), nul);
}

TEST(HistoryListTest, IndexesOutsideTheListReadNothing) {
  HistoryList list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_FALSE(list.has(0));
  EXPECT_TRUE(list.caption(0).empty());
  EXPECT_THROW(list.at(0), std::out_of_range);
  list.push_back(Sample(1));
  for (int index : {-1, 1, 1000000}) {
    EXPECT_FALSE(list.has(index));
    EXPECT_TRUE(list.caption(index).empty());
    EXPECT_TRUE(list.date(index).empty());
    EXPECT_TRUE(list.path(index).empty());
    EXPECT_TRUE(list.field(index, HistoryField::image_id).empty());
    EXPECT_TRUE(list.fields(index)[0].empty());
    EXPECT_THROW(list.at(index), std::out_of_range);
  }
  EXPECT_TRUE(list.has(0));
}

// Views handed to a painting list view stay good while later uploads are added.
TEST(HistoryListTest, StoredTextsNeverMoveWhileTheListGrows) {
  HistoryList list;
  list.push_back(Sample(0));
  const std::string_view first = list.path(0);
  HistoryRecord huge = Sample(1);
  huge.base_filefolder = std::string(3 * 1024 * 1024, 'h');  // larger than any block
  list.push_back(huge);
  const std::string_view big = list.path(1);
  for (int i = 2; i < 50000; ++i) list.push_back(Sample(i));
  EXPECT_EQ(list.path(0).data(), first.data());
  EXPECT_EQ(list.path(1).data(), big.data());
  EXPECT_EQ(first, "/home/anna/Pictures/photo_0.jpg");
  EXPECT_EQ(big.size(), huge.base_filefolder.size());
  EXPECT_EQ(Fields(list.at(49999)), Fields(Sample(49999)));
  EXPECT_EQ(Fields(list.at(25000)), Fields(Sample(25000)));
}

TEST(HistoryListTest, ClearedAndMovedListsStartOverOrCarryTheirRecords) {
  HistoryList list;
  for (int i = 0; i < 3; ++i) list.push_back(Sample(i));
  HistoryList moved = std::move(list);
  EXPECT_EQ(moved.count(), 3);
  EXPECT_EQ(moved.at(2).image_id, "a1b2c2");
  moved.clear();
  EXPECT_EQ(moved.count(), 0);
  EXPECT_EQ(moved.memoryBytes(), 0u);
  moved.push_back(Sample(7));
  EXPECT_EQ(moved.at(0).image_id, "a1b2c7");
}

// A table's worth of typical rows costs little more than their texts.
TEST(HistoryListTest, TypicalRowsTakeAtMost160BytesEach) {
  HistoryList list;
  const int rows = 200000;
  for (int i = 0; i < rows; ++i) {
    HistoryRecord r = Sample(1000000 + i);
    r.image_id = "a1b2c" + std::to_string(1000000 + i);
    list.push_back(r);
  }
  EXPECT_LE(list.memoryBytes() / rows, 160u);
  EXPECT_GE(list.memoryBytes() / rows, 90u);  // the texts themselves are about 100 bytes
}

}  // namespace
}  // namespace cvu::test
