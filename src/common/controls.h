#pragma once
// The kinds of control the program's logic reads and writes by name. The Qt windows
// implement them over widgets; src/headless/ holds plain in-memory versions.
#include <optional>
#include <string>
#include <vector>

#include "common/history_rows.h"

namespace cvu {

class CheckBox {
 public:
  virtual ~CheckBox() = default;
  virtual bool checked() const = 0;
  virtual void setChecked(bool on) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

// One-line edits and multi-line memos; a memo's line breaks read as "\r\n".
class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual std::string text() const = 0;
  virtual void setText(const std::string& text) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual std::string text() const = 0;
  virtual void setText(const std::string& text) = 0;
};

// A drop-down list. Item index -1 means no item is selected.
class ComboBox {
 public:
  virtual ~ComboBox() = default;
  virtual int itemIndex() const = 0;
  // An index outside the items leaves no item selected.
  virtual void setItemIndex(int index) = 0;
  virtual int itemCount() const = 0;
  virtual std::string itemText(int index) const = 0;
  virtual void setItems(const std::vector<std::string>& items) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

// A multi-select list of text lines.
class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual int count() const = 0;
  virtual std::string line(int index) const = 0;
  // Appends a line and scrolls so that the last line is in view.
  virtual void addLine(const std::string& line) = 0;
  virtual void clear() = 0;
  // Removes one line; the other lines keep their selection.
  virtual void removeLine(int index) {
    std::vector<std::pair<std::string, bool>> kept;
    for (int i = 0; i < count(); ++i) {
      if (i != index) kept.emplace_back(line(i), isSelected(i));
    }
    clear();
    for (std::size_t i = 0; i < kept.size(); ++i) {
      addLine(kept[i].first);
      setSelected(static_cast<int>(i), kept[i].second);
    }
  }
  virtual bool isSelected(int index) const = 0;
  virtual void setSelected(int index, bool on) = 0;
};

// The outer frame of a window: caption and position on the desktop.
class WindowFrame {
 public:
  virtual ~WindowFrame() = default;
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual int left() const = 0;
  virtual int top() const = 0;
  // Keeps the size; the outer top-left corner goes to (left, top).
  virtual void moveTo(int left, int top) = 0;
  virtual void centreOnDesktop() = 0;
};

// One item of the history list view: three columns, the record's index in the list
// shown, and the upload group's id (-1: no group).
struct HistoryItem {
  std::string caption;  // base_file
  std::string date;     // upload_date
  std::string path;     // base_filefolder
  int recordIndex = 0;
  int groupId = -1;
};

// A row of a list as a history item: its three texts, the row as the record index, no
// group. A row the list no longer has (it was read again, shorter) gives no texts.
inline HistoryItem RowItem(const HistoryRows& rows, int index) {
  HistoryItem item;
  item.recordIndex = index;
  if (index < 0 || index >= rows.count()) return item;
  item.caption = rows.caption(index);
  item.date = rows.date(index);
  item.path = rows.path(index);
  return item;
}

// The history list view, with collapsible groups in the run view.
class HistoryView {
 public:
  virtual ~HistoryView() = default;
  virtual void clearItems() = 0;
  virtual void addItem(const HistoryItem& item) = 0;
  // Shows every row of a list as an ungrouped item, its texts read from the list when
  // painted instead of copied: item(i) is row i with record index i and no group. The
  // list must outlive the view's use of it; rows added later appear at the next call,
  // rows dropped since are shown empty. clearItems() and addItem() leave this mode.
  virtual void showRows(const HistoryRows& rows) = 0;
  virtual int itemCount() const = 0;
  virtual HistoryItem item(int index) const = 0;
  // The item index when exactly one item is selected.
  virtual std::optional<int> selectedItem() const = 0;
  virtual void setGroupView(bool on) = 0;
  virtual bool groupView() const = 0;
  virtual void scrollToLastItem() = 0;
  // Groups are made by the upload worker; refilling the items leaves them in place.
  virtual void addGroup(int groupId, const std::string& header) = 0;
  virtual void setGroupHeader(int groupId, const std::string& header) = 0;
  virtual void setGroupSubtitle(int groupId, const std::string& subtitle) = 0;
};

}  // namespace cvu

namespace cvu {

// A popup-menu entry: caption, state and an integer tag.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
  virtual bool visible() const = 0;
  virtual void setVisible(bool on) = 0;
  virtual int tag() const = 0;
  virtual void setTag(int tag) = 0;
};

}  // namespace cvu

namespace cvu {

// A whole-number spin edit.
class SpinEdit {
 public:
  virtual ~SpinEdit() = default;
  virtual int value() const = 0;
  virtual void setValue(int value) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

// A drop-down list whose entries each carry a value text.
class ValueComboBox : public ComboBox {
 public:
  virtual std::string itemValue(int index) const = 0;
  // Replaces the entries: pairs of displayed text and value. No entry is selected after.
  virtual void setEntries(const std::vector<std::pair<std::string, std::string>>& entries) = 0;
};

}  // namespace cvu

namespace cvu {

class Button {
 public:
  virtual ~Button() = default;
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

class ProgressBar {
 public:
  virtual ~ProgressBar() = default;
  virtual int minimum() const = 0;
  virtual int maximum() const = 0;
  virtual int position() const = 0;
  virtual void setRange(int minimum, int maximum) = 0;
  virtual void setPosition(int position) = 0;
  virtual bool visible() const = 0;
  virtual void setVisible(bool on) = 0;
};

// A label whose text colour the logic chooses.
struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

class StatusLabel : public Label {
 public:
  virtual Rgb colour() const = 0;
  virtual void setColour(Rgb colour) = 0;
  virtual bool visible() const = 0;
  virtual void setVisible(bool on) = 0;
};

}  // namespace cvu
