#pragma once
// The item model behind the history list view. In group view the top-level rows are
// the upload groups that hold items (their items below them), followed by items of no
// known group; in the flat view every item is a top-level row. Items are only ever
// appended or cleared, so a batch of appends is shown by one model reset: the view
// stays fast with a hundred thousand rows.
#include <QAbstractItemModel>
#include <map>
#include <vector>

#include "common/controls.h"

namespace cvu {

class HistoryModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Role { SubtitleRole = Qt::UserRole + 1, GroupRowRole };

  explicit HistoryModel(QObject* parent = nullptr);

  // The items, in the order they were added (the core's item indexes).
  int itemCount() const { return static_cast<int>(items_.size()); }
  const HistoryItem& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  void clearItems();
  void addItem(const HistoryItem& item);

  bool grouped() const { return grouped_; }
  void setGrouped(bool on);
  void addGroup(int groupId, const std::string& header);
  void setGroupHeader(int groupId, const std::string& header);
  void setGroupSubtitle(int groupId, const std::string& subtitle);
  bool groupCollapsed(int groupId) const;
  void setGroupCollapsed(int groupId, bool collapsed);
  std::string groupHeader(int groupId) const;
  std::string groupSubtitle(int groupId) const;

  // Shows what was added since the last reset. Runs by itself from the event loop;
  // callers that need the rows at once (scrolling, selecting) call it first.
  void flush();

  // Mapping between rows and items. -1 for a group row.
  int itemAt(const QModelIndex& index) const;
  QModelIndex indexOfItem(int item) const;
  // The group id of a group row, or nullopt.
  std::optional<int> groupAt(const QModelIndex& index) const;
  QModelIndex indexOfGroup(int groupId) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct Group {
    int id = 0;
    std::string header;
    std::string subtitle;
    bool collapsed = false;
  };
  // A top-level row of the group view: a group (index into groups_) or a lone item.
  struct TopRow {
    bool isGroup = false;
    int ref = 0;
    std::vector<int> children;  // item indexes of a group row
  };

  void markDirty();
  void rebuild();  // the layout from items_ and groups_; inside a reset
  const Group* findGroup(int groupId) const;
  Group* findGroup(int groupId);

  std::vector<HistoryItem> items_;
  std::vector<Group> groups_;
  std::map<int, int> groupIndex_;  // group id -> index in groups_
  bool grouped_ = true;
  bool dirty_ = false;
  bool flushQueued_ = false;

  // The layout the views know about.
  int flatRows_ = 0;
  std::vector<TopRow> top_;
  std::vector<std::pair<int, int>> itemRow_;  // group view: item -> (top row, child row or -1)
};

}  // namespace cvu
