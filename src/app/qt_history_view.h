#pragma once
// The history list view: HistoryView over a QTreeView and HistoryModel. Group rows
// carry the header and, beside it, the subtitle; they can be collapsed.
#include <QObject>
#include <QTreeView>
#include <functional>

#include "app/history_model.h"
#include "common/controls.h"

namespace cvu {

class QtHistoryView : public QObject, public HistoryView {
  Q_OBJECT

 public:
  explicit QtHistoryView(QTreeView* tree);

  // Runs whenever an item becomes selected or unselected.
  std::function<void()> onSelectionChanged;

  void clearItems() override;
  void addItem(const HistoryItem& item) override { model_.addItem(item); }
  void showRows(const HistoryRows& rows) override { model_.showRows(rows); }
  int itemCount() const override { return model_.itemCount(); }
  HistoryItem item(int index) const override;
  std::optional<int> selectedItem() const override;
  void setGroupView(bool on) override;
  bool groupView() const override { return model_.grouped(); }
  void scrollToLastItem() override;
  void addGroup(int groupId, const std::string& header) override { model_.addGroup(groupId, header); }
  void setGroupHeader(int groupId, const std::string& header) override { model_.setGroupHeader(groupId, header); }
  void setGroupSubtitle(int groupId, const std::string& subtitle) override {
    model_.setGroupSubtitle(groupId, subtitle);
  }

  // For the window and its tests.
  void selectItem(int index);
  void clearSelection();
  HistoryModel& model() { return model_; }
  QTreeView* tree() const { return tree_; }
  // The item under a view position, or -1.
  int itemAtRow(const QModelIndex& index) const { return model_.itemAt(index); }

 private:
  void afterReset();

  QTreeView* tree_;
  HistoryModel model_;
  std::optional<int> selectedBeforeReset_;
};

}  // namespace cvu
