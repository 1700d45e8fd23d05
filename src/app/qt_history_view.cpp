#include "app/qt_history_view.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <utility>

namespace cvu {
namespace {

// Draws a group row: the header in bold blue, the subtitle in grey after it, and a
// rule under both, like a list view's group band.
class GroupRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), 18};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!index.data(HistoryModel::GroupRowRole).toBool()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    painter->save();
    QFont bold = option.font;
    bold.setBold(true);
    const QRect area = option.rect.adjusted(4, 0, -4, 0);
    const QString header = index.data(Qt::DisplayRole).toString();
    painter->setFont(bold);
    painter->setPen(QColor(0x1e, 0x39, 0x87));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, header);
    const int headerWidth = QFontMetrics(bold).horizontalAdvance(header);
    painter->setFont(option.font);
    painter->setPen(QColor(0x6d, 0x6d, 0x6d));
    painter->drawText(area.adjusted(headerWidth + 16, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(HistoryModel::SubtitleRole).toString());
    painter->setPen(QColor(0x9d, 0xb9, 0xeb));
    painter->drawLine(area.left(), area.bottom(), area.right(), area.bottom());
    painter->restore();
  }
};

}  // namespace

QtHistoryView::QtHistoryView(QTreeView* tree) : tree_(tree) {
  tree_->setModel(&model_);
  tree_->setItemDelegate(new GroupRowDelegate(tree_));
  tree_->setUniformRowHeights(true);
  tree_->setRootIsDecorated(true);
  connect(&model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { selectedBeforeReset_ = selectedItem(); });
  connect(&model_, &QAbstractItemModel::modelReset, this, &QtHistoryView::afterReset);
  connect(tree_, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
    if (const auto group = model_.groupAt(index)) model_.setGroupCollapsed(*group, true);
  });
  connect(tree_, &QTreeView::expanded, this, [this](const QModelIndex& index) {
    if (const auto group = model_.groupAt(index)) model_.setGroupCollapsed(*group, false);
  });
  connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (onSelectionChanged) onSelectionChanged();
  });
}

void QtHistoryView::clearItems() { model_.clearItems(); }

HistoryItem QtHistoryView::item(int index) const {
  return index >= 0 && index < model_.itemCount() ? model_.item(index) : HistoryItem{};
}

std::optional<int> QtHistoryView::selectedItem() const {
  const QModelIndexList rows = tree_->selectionModel()->selectedRows();
  if (rows.size() != 1) return std::nullopt;
  const int item = model_.itemAt(rows.first());
  return item >= 0 ? std::optional<int>(item) : std::nullopt;
}

void QtHistoryView::setGroupView(bool on) {
  // The items change their meaning with the view: nothing stays selected.
  if (on != model_.grouped()) clearSelection();
  model_.flush();
  model_.setGrouped(on);
}

void QtHistoryView::scrollToLastItem() {
  model_.flush();
  const QModelIndex last = model_.indexOfItem(model_.itemCount() - 1);
  if (last.isValid()) tree_->scrollTo(last, QAbstractItemView::EnsureVisible);
}

void QtHistoryView::selectItem(int index) {
  model_.flush();
  const QModelIndex row = model_.indexOfItem(index);
  if (!row.isValid()) return;
  tree_->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void QtHistoryView::clearSelection() { tree_->selectionModel()->clearSelection(); }

void QtHistoryView::afterReset() {
  const bool grouped = model_.grouped();
  tree_->setRootIsDecorated(grouped);
  for (int row = 0; grouped && row < model_.rowCount(); ++row) {
    const QModelIndex index = model_.index(row, 0);
    const auto group = model_.groupAt(index);
    if (!group) continue;
    tree_->setFirstColumnSpanned(row, QModelIndex(), true);
    tree_->setExpanded(index, !model_.groupCollapsed(*group));
  }
  // A reset drops the selection without a signal. An item that is still there is
  // selected again; otherwise the menu must still learn that nothing is selected.
  const std::optional<int> before = std::exchange(selectedBeforeReset_, std::nullopt);
  if (!before) return;
  const QModelIndex again = model_.indexOfItem(*before);
  if (again.isValid()) {
    tree_->selectionModel()->select(again, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else if (onSelectionChanged) {
    onSelectionChanged();
  }
}

}  // namespace cvu
