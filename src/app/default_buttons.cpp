#include "app/default_buttons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace cvu {
namespace {

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

// Watches the window: a key press reaches it only when the focused control and its
// parents have ignored it.
class PageDefaultButton : public QObject {
 public:
  PageDefaultButton(QWidget* window, QTabWidget* pager, QWidget* page, QAbstractButton* button)
      : QObject(window), pager_(pager), page_(page), button_(button) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsEnter(event) || pager_.isNull() || button_.isNull() || pager_->currentWidget() != page_) {
      return QObject::eventFilter(watched, event);
    }
    // A focused button of the page takes Enter for itself, as on the desktop's dialogs.
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    QAbstractButton* target = focused != nullptr && page_->isAncestorOf(focused) ? focused : button_.data();
    if (target->isEnabled()) target->click();
    return true;
  }

 private:
  QPointer<QTabWidget> pager_;
  QPointer<QWidget> page_;
  QPointer<QAbstractButton> button_;
};

}  // namespace

void MakePageDefaultButton(QWidget* window, QTabWidget* pager, QWidget* page, QAbstractButton* button) {
  window->installEventFilter(new PageDefaultButton(window, pager, page, button));
}

void MakeFieldsDefaultButton(std::initializer_list<QLineEdit*> fields, QAbstractButton* button) {
  for (QLineEdit* field : fields) QObject::connect(field, &QLineEdit::returnPressed, button, &QAbstractButton::click);
}

}  // namespace cvu
