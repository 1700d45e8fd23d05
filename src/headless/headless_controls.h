#pragma once
// Plain in-memory controls for tests, benchmarks and any front end without windows.
#include <algorithm>
#include <map>
#include <set>

#include "common/controls.h"
#include "common/main_captions.h"
#include "common/main_controls.h"
#include "common/profile_items.h"

namespace cvu {

struct HeadlessCheckBox : CheckBox {
  bool isChecked = false;
  bool isEnabled = true;
  bool checked() const override { return isChecked; }
  void setChecked(bool on) override { isChecked = on; }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
};

struct HeadlessTextBox : TextBox {
  std::string value;
  bool isEnabled = true;
  std::string text() const override { return value; }
  void setText(const std::string& text) override { value = text; }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
};

struct HeadlessLabel : Label {
  std::string value;
  std::string text() const override { return value; }
  void setText(const std::string& text) override { value = text; }
};

struct HeadlessComboBox : ComboBox {
  std::vector<std::string> items;
  int index = -1;
  bool isEnabled = true;
  HeadlessComboBox() = default;
  explicit HeadlessComboBox(std::vector<std::string> initial, int selected = 0)
      : items(std::move(initial)), index(selected) {}
  int itemIndex() const override { return index; }
  void setItemIndex(int i) override { index = (i >= 0 && i < itemCount()) ? i : -1; }
  int itemCount() const override { return static_cast<int>(items.size()); }
  std::string itemText(int i) const override { return (i >= 0 && i < itemCount()) ? items[i] : std::string(); }
  void setItems(const std::vector<std::string>& values) override {
    items = values;
    index = -1;
  }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
};

struct HeadlessListBox : ListBox {
  std::vector<std::string> lines;
  std::set<int> selected;
  int count() const override { return static_cast<int>(lines.size()); }
  std::string line(int i) const override { return (i >= 0 && i < count()) ? lines[i] : std::string(); }
  void addLine(const std::string& text) override { lines.push_back(text); }
  void clear() override {
    lines.clear();
    selected.clear();
  }
  bool isSelected(int i) const override { return selected.count(i) != 0; }
  void setSelected(int i, bool on) override {
    if (on && i >= 0 && i < count()) selected.insert(i);
    if (!on) selected.erase(i);
  }
};

struct HeadlessFrame : WindowFrame {
  std::string title;
  int x = 0;
  int y = 0;
  bool centred = false;
  std::string caption() const override { return title; }
  void setCaption(const std::string& caption) override { title = caption; }
  int left() const override { return x; }
  int top() const override { return y; }
  void moveTo(int l, int t) override {
    x = l;
    y = t;
    centred = false;
  }
  void centreOnDesktop() override { centred = true; }
};

struct HeadlessMenuItem : MenuItem {
  std::string text;
  bool isEnabled = true;
  bool isVisible = true;
  int value = 0;
  HeadlessMenuItem() = default;
  HeadlessMenuItem(std::string caption, bool on) : text(std::move(caption)), isEnabled(on) {}
  explicit HeadlessMenuItem(const InitialCaption& initial)
      : text(initial.caption), isEnabled(initial.enabled), isVisible(initial.visible) {}
  std::string caption() const override { return text; }
  void setCaption(const std::string& caption) override { text = caption; }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
  bool visible() const override { return isVisible; }
  void setVisible(bool on) override { isVisible = on; }
  int tag() const override { return value; }
  void setTag(int tag) override { value = tag; }
};

struct HeadlessHistoryView : HistoryView {
  struct Group {
    std::string header;
    std::string subtitle;
  };
  std::vector<HistoryItem> items;
  const HistoryRows* rows = nullptr;  // shown in place of items when set
  int rowCount = 0;                   // rows->count() when they were shown
  std::map<int, Group> groups;
  std::optional<int> selected;
  bool grouped = true;
  int scrolledTo = -1;
  void clearItems() override {
    items.clear();
    rows = nullptr;
    rowCount = 0;
    selected.reset();
  }
  void addItem(const HistoryItem& item) override {
    if (rows != nullptr) clearItems();
    items.push_back(item);
  }
  void showRows(const HistoryRows& list) override {
    items.clear();
    rows = &list;
    rowCount = list.count();
    if (selected && *selected >= rowCount) selected.reset();
  }
  int itemCount() const override { return rows != nullptr ? rowCount : static_cast<int>(items.size()); }
  HistoryItem item(int i) const override {
    if (i < 0 || i >= itemCount()) return HistoryItem{};
    return rows == nullptr ? items[static_cast<std::size_t>(i)] : RowItem(*rows, i);
  }
  std::optional<int> selectedItem() const override { return selected; }
  void setGroupView(bool on) override { grouped = on; }
  bool groupView() const override { return grouped; }
  void scrollToLastItem() override { scrolledTo = itemCount() - 1; }
  void addGroup(int id, const std::string& header) override { groups[id] = Group{header, ""}; }
  void setGroupHeader(int id, const std::string& header) override { groups[id].header = header; }
  void setGroupSubtitle(int id, const std::string& subtitle) override {
    groups[id].subtitle = subtitle;
    subtitles.push_back(subtitle);
  }
  std::vector<std::string> subtitles;  // every subtitle set, in order
};

struct HeadlessButton : Button {
  std::string text;
  bool isEnabled = true;
  HeadlessButton() = default;
  explicit HeadlessButton(std::string caption) : text(std::move(caption)) {}
  explicit HeadlessButton(const InitialCaption& initial) : text(initial.caption), isEnabled(initial.enabled) {}
  std::string caption() const override { return text; }
  void setCaption(const std::string& caption) override { text = caption; }
  bool enabled() const override { return isEnabled; }
  void setEnabled(bool on) override { isEnabled = on; }
};

struct HeadlessProgressBar : ProgressBar {
  int min = 0, max = 100, pos = 0;
  bool isVisible = true;
  std::vector<int> positions;  // every position set, in order
  int minimum() const override { return min; }
  int maximum() const override { return max; }
  int position() const override { return pos; }
  void setRange(int lo, int hi) override {
    min = lo;
    max = hi;
  }
  void setPosition(int p) override {
    pos = p;
    positions.push_back(p);
  }
  bool visible() const override { return isVisible; }
  void setVisible(bool on) override { isVisible = on; }
};

struct HeadlessStatusLabel : StatusLabel {
  std::string value;
  Rgb rgb;
  bool isVisible = true;
  std::string text() const override { return value; }
  void setText(const std::string& text) override { value = text; }
  Rgb colour() const override { return rgb; }
  void setColour(Rgb c) override { rgb = c; }
  bool visible() const override { return isVisible; }
  void setVisible(bool on) override { isVisible = on; }
};

// The main window without a window: initial states as the window starts.
struct HeadlessMain : MainControls {
  HeadlessFrame frameState;
  HeadlessLabel aboutTitle, label5;
  HeadlessCheckBox userSave;
  HeadlessTextBox userName, userSecure, myv1, myv2, myv3;
  HeadlessCheckBox confirmDelete, titleInfo, autoUpload, startAutoUpload, sendAnonymous;
  HeadlessComboBox autoAction{AutoActionItems(), 0};
  HeadlessComboBox linkMycodeId{LinkMycodeItems(), 0};
  HeadlessListBox logList;
  HeadlessLabel historyBtn;
  HeadlessHistoryView linksTable;
  HeadlessMenuItem n1{MainCaption("N1")}, n6{MainCaption("N6")}, n7{MainCaption("N7")}, n11{MainCaption("N11")},
      n12{MainCaption("N12")}, n13{MainCaption("N13")}, n14{MainCaption("N14")}, n15{MainCaption("N15")},
      n16{MainCaption("N16")}, n17{MainCaption("N17")}, html1{MainCaption("HTML1")}, bb1{MainCaption("BB1")},
      n18{MainCaption("N18")}, n21{MainCaption("N21")}, n31{MainCaption("N31")};

  HeadlessButton effBtn{MainCaption("CVU_EffBtn")}, uploadBtn{MainCaption("CVU_UploadBtn")},
      openFilesBtn{MainCaption("CVU_OpenFilesBtn")};
  HeadlessListBox uploadTable;
  HeadlessMenuItem n10{MainCaption("N10")};
  HeadlessProgressBar pbarImage, pbarFull;
  HeadlessLabel infoStatus;
  HeadlessButton authBtn{MainCaption("CVU_AuthBtn")}, authResetBtn{MainCaption("CVU_AuthResetBtn")};
  HeadlessStatusLabel authLabel;
  HeadlessProgressBar authBar;

  HeadlessMain() {
    startAutoUpload.isEnabled = false;
    pbarFull.max = 0;
    authLabel.value = MainCaption("CVU_AuthLabel").caption;
    authLabel.isVisible = MainCaption("CVU_AuthLabel").visible;
    authBar.isVisible = false;
    historyBtn.value = MainCaption("CVU_HistoryBtn").caption;
  }

  WindowFrame& frame() override { return frameState; }
  Label& CVU_AboutTitle() override { return aboutTitle; }
  Label& Label5() override { return label5; }
  CheckBox& CVU_UserSave() override { return userSave; }
  TextBox& CVU_UserName() override { return userName; }
  TextBox& CVU_UserSecure() override { return userSecure; }
  TextBox& CVU_MYV1() override { return myv1; }
  TextBox& CVU_MYV2() override { return myv2; }
  TextBox& CVU_MYV3() override { return myv3; }
  CheckBox& CVU_ConfirmDelete() override { return confirmDelete; }
  CheckBox& CVU_TitleInfo() override { return titleInfo; }
  CheckBox& CVU_AutoUpload() override { return autoUpload; }
  CheckBox& CVU_StartAutoUpload() override { return startAutoUpload; }
  CheckBox& CVU_SendAnonymous() override { return sendAnonymous; }
  ComboBox& CVU_AutoAction() override { return autoAction; }
  ComboBox& CVU_LinkMycodeID() override { return linkMycodeId; }
  ListBox& CVU_LOGLIST() override { return logList; }
  Button& CVU_EffBtn() override { return effBtn; }
  Button& CVU_UploadBtn() override { return uploadBtn; }
  Button& CVU_OpenFilesBtn() override { return openFilesBtn; }
  ListBox& CVU_UploadTable() override { return uploadTable; }
  MenuItem& N10() override { return n10; }
  ProgressBar& CVU_PBarImage() override { return pbarImage; }
  ProgressBar& CVU_PBarFull() override { return pbarFull; }
  Label& CVU_InfoStatus() override { return infoStatus; }
  Button& CVU_AuthBtn() override { return authBtn; }
  StatusLabel& CVU_AuthLabel() override { return authLabel; }
  ProgressBar& CVU_AuthBar() override { return authBar; }
  Button& CVU_AuthResetBtn() override { return authResetBtn; }
  Label& CVU_HistoryBtn() override { return historyBtn; }
  HistoryView& CV_Links_Table() override { return linksTable; }
  MenuItem& N1() override { return n1; }
  MenuItem& N6() override { return n6; }
  MenuItem& N7() override { return n7; }
  MenuItem& N11() override { return n11; }
  MenuItem& N12() override { return n12; }
  MenuItem& N13() override { return n13; }
  MenuItem& N14() override { return n14; }
  MenuItem& N15() override { return n15; }
  MenuItem& N16() override { return n16; }
  MenuItem& N17() override { return n17; }
  MenuItem& HTML1() override { return html1; }
  MenuItem& BB1() override { return bb1; }
  MenuItem& N18() override { return n18; }
  MenuItem& N21() override { return n21; }
  MenuItem& N31() override { return n31; }
};

}  // namespace cvu
