#pragma once
// Gives every line of a list the same fixed height.
#include <QStyledItemDelegate>

namespace cvu {

class LineHeightDelegate : public QStyledItemDelegate {
 public:
  LineHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
  }

 private:
  int height_;
};

}  // namespace cvu
