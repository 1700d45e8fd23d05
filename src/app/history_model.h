#pragma once
// The item model behind the history list view. In group view the top-level rows are
// the upload groups that hold items (their items below them), followed by items of no
// known group; in the flat view every item is a top-level row. Items are only ever
// appended or cleared, so a batch of appends is shown at once, as inserted rows where the
// layout allows and otherwise by one model reset: the view stays fast with a hundred
// thousand rows. A whole list (the full history) is shown
// flat from its rows in place, each text made when the view asks for it, so a million
// rows cost no copy.
#include <QAbstractItemModel>
#include <map>
#include <vector>

#include "common/controls.h"
#include "common/history_rows.h"

namespace cvu {

class HistoryModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Role { SubtitleRole = Qt::UserRole + 1, GroupRowRole };

  explicit HistoryModel(QObject* parent = nullptr);

  // The items, in the order they were added (the core's item indexes), or the rows shown.
  int itemCount() const { return rows_ != nullptr ? rowsShown_ : static_cast<int>(items_.size()); }
  // Throws std::out_of_range for an index outside the items.
  HistoryItem item(int index) const;
  void clearItems();
  void addItem(const HistoryItem& item);
  // Shows the rows flat in place of the items until clearItems() or addItem().
  void showRows(const HistoryRows& rows);

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

  bool flat() const { return !grouped_ || rows_ != nullptr; }
  QString itemText(int item, int column) const;
  void markDirty();
  void rebuild();  // the layout from items_ and groups_; inside a reset
  bool appendLaidOut();
  const Group* findGroup(int groupId) const;
  Group* findGroup(int groupId);

  std::vector<HistoryItem> items_;
  const HistoryRows* rows_ = nullptr;
  int rowsShown_ = 0;  // rows_->count() when shown: later rows wait for the next showRows()
  std::vector<Group> groups_;
  std::map<int, int> groupIndex_;  // group id -> index in groups_
  bool grouped_ = true;
  bool dirty_ = false;
  bool needsReset_ = false;  // a change since the last layout that appended rows cannot show
  bool flushQueued_ = false;

  // The layout the views know about.
  int flatRows_ = 0;
  std::vector<TopRow> top_;
  std::vector<std::pair<int, int>> itemRow_;  // group view: item -> (top row, child row or -1)
};

}  // namespace cvu
