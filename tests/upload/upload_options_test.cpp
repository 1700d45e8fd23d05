#include <gtest/gtest.h>

#include "headless/headless_windows.h"
#include "upload/upload_options.h"

namespace cvu {
namespace {

TEST(UploadOptions, InitialValuesAreSentEvenWhileDisabled) {
  HeadlessUpOptions w;
  ResetUploadOptions(w);
  EXPECT_FALSE(w.quality.enabled());
  EXPECT_FALSE(w.filter.enabled());
  EXPECT_TRUE(w.album.enabled());
  EXPECT_EQ(w.filter.itemCount(), 9);
  EXPECT_EQ(w.filter.itemText(0), "Нет фильтра");
  const UploadOptionValues v = ReadUploadOptions(w);
  EXPECT_EQ(v.quality, "80");
  EXPECT_EQ(v.filter, "2");
  EXPECT_EQ(v.thumbtext, "");
  EXPECT_EQ(v.title, "");
  EXPECT_EQ(v.album_id, "");
  EXPECT_EQ(v.nod, "on");
  EXPECT_EQ(v.published, "off");
}

TEST(UploadOptions, FilterValuesRunFromTwoToTen) {
  const auto entries = FilterEntries();
  ASSERT_EQ(entries.size(), 9u);
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].second, std::to_string(i + 2));
  HeadlessUpOptions w;
  ResetUploadOptions(w);
  w.filter.setItemIndex(3);
  EXPECT_EQ(w.filter.itemText(3), "Sepia ( Сепия )");
  EXPECT_EQ(ReadUploadOptions(w).filter, "5");
}

TEST(UploadOptions, NoConversionBoxTogglesQualityAndFilterAndKeepsValues) {
  HeadlessUpOptions w;
  ResetUploadOptions(w);
  w.effOff.setChecked(false);
  CVU_Ef_EffOffClick(w);
  EXPECT_TRUE(w.quality.enabled());
  EXPECT_TRUE(w.filter.enabled());
  w.quality.setValue(55);
  w.filter.setItemIndex(8);
  w.effOff.setChecked(true);
  CVU_Ef_EffOffClick(w);
  EXPECT_FALSE(w.quality.enabled());
  EXPECT_FALSE(w.filter.enabled());
  const UploadOptionValues v = ReadUploadOptions(w);
  EXPECT_EQ(v.quality, "55");
  EXPECT_EQ(v.filter, "10");
  EXPECT_EQ(v.nod, "on");
}

TEST(UploadOptions, EntryValueFallsBackToTheDisplayedText) {
  HeadlessValueComboBox album;
  EXPECT_EQ(EntryValue(album), "");
  album.setEntries({{"Нет альбома", "0"}, {"Отпуск", ""}, {"Дача", "77"}});
  EXPECT_EQ(EntryValue(album), "");  // nothing selected yet
  album.setItemIndex(0);
  EXPECT_EQ(EntryValue(album), "0");
  album.setItemIndex(1);
  EXPECT_EQ(EntryValue(album), "Отпуск");
  album.setItemIndex(2);
  EXPECT_EQ(EntryValue(album), "77");
}

}  // namespace
}  // namespace cvu
