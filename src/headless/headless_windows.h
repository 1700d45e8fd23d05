#pragma once
// The links and upload options windows without windows.
#include <array>

#include "common/links_controls.h"
#include "common/upoptions_controls.h"
#include "headless/headless_controls.h"

namespace cvu {

struct HeadlessSpinEdit : SpinEdit {
  int number = 0;
  bool isEnabled = true;
  int value() const override { return number; }
  void setValue(int v) override { number = v; }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
};

struct HeadlessValueComboBox : ValueComboBox {
  std::vector<std::pair<std::string, std::string>> entries;
  int index = -1;
  bool isEnabled = true;
  int itemIndex() const override { return index; }
  void setItemIndex(int i) override { index = (i >= 0 && i < itemCount()) ? i : -1; }
  int itemCount() const override { return static_cast<int>(entries.size()); }
  std::string itemText(int i) const override { return (i >= 0 && i < itemCount()) ? entries[i].first : ""; }
  std::string itemValue(int i) const override { return (i >= 0 && i < itemCount()) ? entries[i].second : ""; }
  void setItems(const std::vector<std::string>& items) override {
    entries.clear();
    for (const auto& item : items) entries.emplace_back(item, "");
    index = -1;
  }
  void setEntries(const std::vector<std::pair<std::string, std::string>>& values) override {
    entries = values;
    index = -1;
  }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
};

struct HeadlessLinks : LinksControls {
  struct Row {
    HeadlessTextBox field;
    bool visible = true;
    int labelTop = 0;
    int fieldTop = 0;
  };
  std::array<Row, 8> rows{};  // index 1..7
  int height = 468;
  int shown = 0;  // how many times the window was shown

  HeadlessLinks() {
    const int labels[8] = {0, 9, 55, 101, 147, 195, 273, 351};
    for (int r = 1; r <= 7; ++r) {
      rows[r].labelTop = labels[r];
      rows[r].fieldTop = labels[r] + 19;
    }
  }
  TextBox& field(int row) override { return rows.at(row).field; }
  void setOuterHeight(int h) override { height = h; }
  int outerHeight() const override { return height; }
  void setRowVisible(int row, bool visible) override { rows.at(row).visible = visible; }
  bool rowVisible(int row) const override { return rows.at(row).visible; }
  void moveRow(int row, int labelTop, int fieldTop) override {
    rows.at(row).labelTop = labelTop;
    rows.at(row).fieldTop = fieldTop;
  }
  int rowLabelTop(int row) const override { return rows.at(row).labelTop; }
  int rowFieldTop(int row) const override { return rows.at(row).fieldTop; }
  void showWindow() override { ++shown; }
};

struct HeadlessUpOptions : UpOptionsControls {
  HeadlessSpinEdit quality;
  HeadlessValueComboBox filter, album;
  HeadlessTextBox thText, title;
  HeadlessCheckBox effOff, published;
  int shown = 0;
  SpinEdit& CVU_Ef_Quality() override { return quality; }
  ValueComboBox& CVU_Ef_Filter() override { return filter; }
  TextBox& CVU_Ef_ThText() override { return thText; }
  TextBox& CVU_Ef_Title() override { return title; }
  ValueComboBox& CVU_Ef_Album() override { return album; }
  CheckBox& CVU_Ef_EffOff() override { return effOff; }
  CheckBox& CVU_Ef_Published() override { return published; }
  void showWindow() override { ++shown; }
};

}  // namespace cvu
