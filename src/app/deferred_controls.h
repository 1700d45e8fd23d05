#pragma once
// Controls of a page that the real program builds after the window's first painting.
// Until the page exists, what the program writes to a control is kept in order and the
// first read of any of them builds the page; once built, the kept writes are made on its
// widgets, in the order they came, and every call goes straight to them.
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/controls.h"

namespace cvu {

template <class Control>
class Deferred {
 public:
  // build makes the page and binds this control to its widget's adapter.
  explicit Deferred(std::function<void()> build) : build_(std::move(build)) {}
  Deferred(const Deferred&) = delete;
  Deferred& operator=(const Deferred&) = delete;

  void bind(Control& control) {
    target_ = &control;
    for (const auto& write : writes_) write(control);
    writes_.clear();
  }

 protected:
  ~Deferred() = default;

  Control& read() const {
    if (target_ == nullptr) build_();
    if (target_ == nullptr) throw std::logic_error("a page control was read before its page could be built");
    return *target_;
  }
  void write(std::function<void(Control&)> call) {
    if (target_ != nullptr) {
      call(*target_);
    } else {
      writes_.push_back(std::move(call));
    }
  }

 private:
  std::function<void()> build_;
  Control* target_ = nullptr;
  std::vector<std::function<void(Control&)>> writes_;
};

class DeferredCheckBox final : public CheckBox, public Deferred<CheckBox> {
 public:
  using Deferred::Deferred;
  bool checked() const override { return read().checked(); }
  void setChecked(bool on) override {
    write([on](CheckBox& c) { c.setChecked(on); });
  }
  bool enabled() const override { return read().enabled(); }
  void setEnabled(bool on) override {
    write([on](CheckBox& c) { c.setEnabled(on); });
  }
};

class DeferredTextBox final : public TextBox, public Deferred<TextBox> {
 public:
  using Deferred::Deferred;
  std::string text() const override { return read().text(); }
  void setText(const std::string& text) override {
    write([text](TextBox& c) { c.setText(text); });
  }
  bool enabled() const override { return read().enabled(); }
  void setEnabled(bool on) override {
    write([on](TextBox& c) { c.setEnabled(on); });
  }
};

class DeferredComboBox final : public ComboBox, public Deferred<ComboBox> {
 public:
  using Deferred::Deferred;
  int itemIndex() const override { return read().itemIndex(); }
  void setItemIndex(int index) override {
    write([index](ComboBox& c) { c.setItemIndex(index); });
  }
  int itemCount() const override { return read().itemCount(); }
  std::string itemText(int index) const override { return read().itemText(index); }
  void setItems(const std::vector<std::string>& items) override {
    write([items](ComboBox& c) { c.setItems(items); });
  }
  bool enabled() const override { return read().enabled(); }
  void setEnabled(bool on) override {
    write([on](ComboBox& c) { c.setEnabled(on); });
  }
};

class DeferredButton final : public Button, public Deferred<Button> {
 public:
  using Deferred::Deferred;
  std::string caption() const override { return read().caption(); }
  void setCaption(const std::string& caption) override {
    write([caption](Button& c) { c.setCaption(caption); });
  }
  bool enabled() const override { return read().enabled(); }
  void setEnabled(bool on) override {
    write([on](Button& c) { c.setEnabled(on); });
  }
};

class DeferredProgressBar final : public ProgressBar, public Deferred<ProgressBar> {
 public:
  using Deferred::Deferred;
  int minimum() const override { return read().minimum(); }
  int maximum() const override { return read().maximum(); }
  int position() const override { return read().position(); }
  void setRange(int minimum, int maximum) override {
    write([minimum, maximum](ProgressBar& c) { c.setRange(minimum, maximum); });
  }
  void setPosition(int position) override {
    write([position](ProgressBar& c) { c.setPosition(position); });
  }
  bool visible() const override { return read().visible(); }
  void setVisible(bool on) override {
    write([on](ProgressBar& c) { c.setVisible(on); });
  }
};

class DeferredStatusLabel final : public StatusLabel, public Deferred<StatusLabel> {
 public:
  using Deferred::Deferred;
  std::string text() const override { return read().text(); }
  void setText(const std::string& text) override {
    write([text](StatusLabel& c) { c.setText(text); });
  }
  Rgb colour() const override { return read().colour(); }
  void setColour(Rgb colour) override {
    write([colour](StatusLabel& c) { c.setColour(colour); });
  }
  bool visible() const override { return read().visible(); }
  void setVisible(bool on) override {
    write([on](StatusLabel& c) { c.setVisible(on); });
  }
};

}  // namespace cvu
