#pragma once
// The core's control kinds over Qt widgets. Each adapter holds a pointer to a widget
// owned by its window; the widget's state is the value.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>
#include <memory>

#include "common/controls.h"

namespace cvu {

QString ToQt(const std::string& utf8);
std::string FromQt(const QString& text);

class QtCheckBox : public CheckBox {
 public:
  explicit QtCheckBox(QCheckBox* box) : box_(box) {}
  bool checked() const override { return box_->isChecked(); }
  void setChecked(bool on) override { box_->setChecked(on); }
  bool enabled() const override { return box_->isEnabled(); }
  void setEnabled(bool on) override { box_->setEnabled(on); }

 private:
  QCheckBox* box_;
};

class QtLineText : public TextBox {
 public:
  explicit QtLineText(QLineEdit* edit) : edit_(edit) {}
  std::string text() const override { return FromQt(edit_->text()); }
  void setText(const std::string& text) override { edit_->setText(ToQt(text)); }
  bool enabled() const override { return edit_->isEnabled(); }
  void setEnabled(bool on) override { edit_->setEnabled(on); }

 private:
  QLineEdit* edit_;
};

// A memo: the core sees its line breaks as "\r\n".
class QtMemoText : public TextBox {
 public:
  explicit QtMemoText(QPlainTextEdit* edit) : edit_(edit) {}
  std::string text() const override;
  void setText(const std::string& text) override;
  bool enabled() const override { return edit_->isEnabled(); }
  void setEnabled(bool on) override { edit_->setEnabled(on); }

 private:
  QPlainTextEdit* edit_;
};

class QtLabel : public Label {
 public:
  explicit QtLabel(QLabel* label) : label_(label) {}
  std::string text() const override { return FromQt(label_->text()); }
  void setText(const std::string& text) override { label_->setText(ToQt(text)); }

 private:
  QLabel* label_;
};

// A button whose caption the core reads and writes as a label.
class QtButtonCaption : public Label {
 public:
  explicit QtButtonCaption(QAbstractButton* button) : button_(button) {}
  std::string text() const override { return FromQt(button_->text()); }
  void setText(const std::string& text) override { button_->setText(ToQt(text)); }

 private:
  QAbstractButton* button_;
};

class QtButton : public Button {
 public:
  explicit QtButton(QAbstractButton* button) : button_(button) {}
  std::string caption() const override { return FromQt(button_->text()); }
  void setCaption(const std::string& caption) override { button_->setText(ToQt(caption)); }
  bool enabled() const override { return button_->isEnabled(); }
  void setEnabled(bool on) override { button_->setEnabled(on); }

 private:
  QAbstractButton* button_;
};

class QtComboBox : public ComboBox {
 public:
  explicit QtComboBox(QComboBox* combo) : combo_(combo) {}
  int itemIndex() const override { return combo_->currentIndex(); }
  void setItemIndex(int index) override;
  int itemCount() const override { return combo_->count(); }
  std::string itemText(int index) const override { return FromQt(combo_->itemText(index)); }
  void setItems(const std::vector<std::string>& items) override;
  bool enabled() const override { return combo_->isEnabled(); }
  void setEnabled(bool on) override { combo_->setEnabled(on); }

 protected:
  QComboBox* combo_;
};

// Entries carry their value as the item's user data.
class QtValueComboBox : public ValueComboBox {
 public:
  explicit QtValueComboBox(QComboBox* combo) : plain_(combo), combo_(combo) {}
  int itemIndex() const override { return plain_.itemIndex(); }
  void setItemIndex(int index) override { plain_.setItemIndex(index); }
  int itemCount() const override { return plain_.itemCount(); }
  std::string itemText(int index) const override { return plain_.itemText(index); }
  void setItems(const std::vector<std::string>& items) override { plain_.setItems(items); }
  bool enabled() const override { return plain_.enabled(); }
  void setEnabled(bool on) override { plain_.setEnabled(on); }
  std::string itemValue(int index) const override { return FromQt(combo_->itemData(index).toString()); }
  void setEntries(const std::vector<std::pair<std::string, std::string>>& entries) override;

 private:
  QtComboBox plain_;
  QComboBox* combo_;
};

// A multi-select list; with hints on, each line's tool tip is its whole text. A line is
// in the list when addLine returns; the scroll to the end (and the layout of the items it
// forces) waits for the event loop, once for however many lines came meanwhile.
//
// A log list (batchMs > 0) takes its lines into the widget at most once per batchMs,
// then lays them out and scrolls once: an upload adds a line every millisecond or so,
// and each layout and scroll would redraw the whole list. Every call here sees the
// lines added so far, as if each had gone into the widget at once.
class QtListBox : public ListBox {
 public:
  explicit QtListBox(QListWidget* list, bool lineHints = false);
  int count() const override { return list_->count(); }
  std::string line(int index) const override;
  void addLine(const std::string& line) override;
  void clear() override { list_->clear(); }
  bool isSelected(int index) const override;
  void setSelected(int index, bool on) override;
  void removeLine(int index) override;

 private:
  QListWidget* list_;
  bool hints_;
  std::unique_ptr<QTimer> scroll_;  // fires once the queued work has run
};

// A menu entry. Captions are shown as given: an "&" is a character, never a mnemonic.
class QtMenuItem : public MenuItem {
 public:
  explicit QtMenuItem(QAction* action) : action_(action) {}
  std::string caption() const override;
  void setCaption(const std::string& caption) override;
  bool enabled() const override { return action_->isEnabled(); }
  void setEnabled(bool on) override { action_->setEnabled(on); }
  bool visible() const override { return action_->isVisible(); }
  void setVisible(bool on) override { action_->setVisible(on); }
  int tag() const override { return tag_; }
  void setTag(int tag) override { tag_ = tag; }
  QAction* action() const { return action_; }

 private:
  QAction* action_;
  int tag_ = 0;
};

class QtSpinEdit : public SpinEdit {
 public:
  explicit QtSpinEdit(QSpinBox* spin) : spin_(spin) {}
  int value() const override { return spin_->value(); }
  void setValue(int value) override { spin_->setValue(value); }
  bool enabled() const override { return spin_->isEnabled(); }
  void setEnabled(bool on) override { spin_->setEnabled(on); }

 private:
  QSpinBox* spin_;
};

// QProgressBar shows a busy indicator for the range 0..0, so an empty bar of range
// 0..0 is drawn as 0 of 1; the range the logic set is kept here. A marquee bar always
// shows activity, whatever range it is given. The position is kept here at once; the
// widget gets it at most about 30 times a second, with a scheduled repaint, since
// QProgressBar repaints on the spot for every new value.
class QtProgressBar : public ProgressBar {
 public:
  QtProgressBar(QProgressBar* bar, bool marquee = false);
  int minimum() const override { return min_; }
  int maximum() const override { return max_; }
  int position() const override { return marquee_ ? min_ : position_; }
  void setRange(int minimum, int maximum) override;
  void setPosition(int position) override;
  bool visible() const override { return !bar_->isHidden(); }
  void setVisible(bool on) override { bar_->setVisible(on); }

 private:
  static constexpr int kShowIntervalMs = 33;
  void showPositionLater();
  bool showPosition();  // false when the widget already shows it

  QProgressBar* bar_;
  bool marquee_;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  std::unique_ptr<QTimer> show_;  // running: the widget was given a position lately
};

// A label whose colour and visibility the logic sets.
class QtStatusLabel : public StatusLabel {
 public:
  explicit QtStatusLabel(QLabel* label) : label_(label) {}
  std::string text() const override { return FromQt(label_->text()); }
  void setText(const std::string& text) override { label_->setText(ToQt(text)); }
  Rgb colour() const override;
  void setColour(Rgb colour) override;
  bool visible() const override { return !label_->isHidden(); }
  void setVisible(bool on) override { label_->setVisible(on); }

 private:
  QLabel* label_;
};

// Caption and outer position of a top-level window.
class QtWindowFrame : public WindowFrame {
 public:
  explicit QtWindowFrame(QWidget* window) : window_(window) {}
  std::string caption() const override { return FromQt(window_->windowTitle()); }
  void setCaption(const std::string& caption) override { window_->setWindowTitle(ToQt(caption)); }
  int left() const override { return window_->frameGeometry().left(); }
  int top() const override { return window_->frameGeometry().top(); }
  void moveTo(int left, int top) override;
  void centreOnDesktop() override;

 private:
  QWidget* window_;
};

// Places a window centred over another (or on its screen when there is none).
void CentreOver(QWidget* window, const QWidget* owner);

}  // namespace cvu
