#include "app/history_model.h"

#include <stdexcept>
#include <string>

#include "app/qt_controls.h"

namespace cvu {

HistoryModel::HistoryModel(QObject* parent) : QAbstractItemModel(parent) {}

HistoryItem HistoryModel::item(int index) const {
  if (rows_ == nullptr) return items_.at(static_cast<std::size_t>(index));
  if (index < 0 || index >= rowsShown_) throw std::out_of_range("history row " + std::to_string(index));
  return RowItem(*rows_, index);
}

void HistoryModel::clearItems() {
  needsReset_ = false;
  beginResetModel();
  items_.clear();
  rows_ = nullptr;
  rowsShown_ = 0;
  rebuild();
  endResetModel();
}

void HistoryModel::addItem(const HistoryItem& item) {
  if (rows_ != nullptr) clearItems();
  items_.push_back(item);
  markDirty();
}

void HistoryModel::showRows(const HistoryRows& rows) {
  needsReset_ = false;
  beginResetModel();
  items_.clear();
  rows_ = &rows;
  rowsShown_ = rows.count();
  rebuild();
  endResetModel();
}

void HistoryModel::setGrouped(bool on) {
  if (on == grouped_) return;
  needsReset_ = false;
  beginResetModel();
  grouped_ = on;
  rebuild();
  endResetModel();
}

void HistoryModel::addGroup(int groupId, const std::string& header) {
  if (Group* group = findGroup(groupId)) {
    *group = Group{groupId, header, "", false};
  } else {
    groupIndex_[groupId] = static_cast<int>(groups_.size());
    groups_.push_back(Group{groupId, header, "", false});
  }
  if (grouped_) {
    needsReset_ = true;
    markDirty();
  }
}

void HistoryModel::setGroupHeader(int groupId, const std::string& header) {
  if (findGroup(groupId) == nullptr) addGroup(groupId, "");
  findGroup(groupId)->header = header;
  const QModelIndex row = indexOfGroup(groupId);
  if (row.isValid()) emit dataChanged(row, row.siblingAtColumn(2));
}

void HistoryModel::setGroupSubtitle(int groupId, const std::string& subtitle) {
  if (findGroup(groupId) == nullptr) addGroup(groupId, "");
  findGroup(groupId)->subtitle = subtitle;
  const QModelIndex row = indexOfGroup(groupId);
  if (row.isValid()) emit dataChanged(row, row.siblingAtColumn(2));
}

bool HistoryModel::groupCollapsed(int groupId) const {
  const Group* group = findGroup(groupId);
  return group != nullptr && group->collapsed;
}

void HistoryModel::setGroupCollapsed(int groupId, bool collapsed) {
  if (Group* group = findGroup(groupId)) group->collapsed = collapsed;
}

std::string HistoryModel::groupHeader(int groupId) const {
  const Group* group = findGroup(groupId);
  return group ? group->header : std::string();
}

std::string HistoryModel::groupSubtitle(int groupId) const {
  const Group* group = findGroup(groupId);
  return group ? group->subtitle : std::string();
}

void HistoryModel::markDirty() {
  dirty_ = true;
  if (flushQueued_) return;
  flushQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        flushQueued_ = false;
        flush();
      },
      Qt::QueuedConnection);
}

void HistoryModel::flush() {
  if (!dirty_) return;
  if (!needsReset_ && appendLaidOut()) {
    dirty_ = false;
    return;
  }
  needsReset_ = false;
  beginResetModel();
  rebuild();
  endResetModel();
}

// Items appended to the layout the views know, each as an inserted row, so a view keeps
// its scroll position, selection and expanded groups and lays out only the new rows.
// False, with nothing changed, when an item would open a group row that is not there yet
// (the group rows must stay in group order): a reset lays that out.
bool HistoryModel::appendLaidOut() {
  const int laidOut = flat() ? flatRows_ : static_cast<int>(itemRow_.size());
  const int count = itemCount();
  if (laidOut > count) return false;
  if (laidOut == count) return true;
  if (flat()) {
    beginInsertRows({}, flatRows_, count - 1);
    flatRows_ = count;
    endInsertRows();
    return true;
  }
  std::vector<int> rowOfGroup(groups_.size(), -1);
  for (std::size_t row = 0; row < top_.size(); ++row) {
    if (top_[row].isGroup) rowOfGroup[static_cast<std::size_t>(top_[row].ref)] = static_cast<int>(row);
  }
  for (int i = laidOut; i < count; ++i) {
    const auto found = groupIndex_.find(items_[static_cast<std::size_t>(i)].groupId);
    if (found != groupIndex_.end() && rowOfGroup[static_cast<std::size_t>(found->second)] < 0) return false;
  }
  for (int i = laidOut; i < count; ++i) {
    const auto found = groupIndex_.find(items_[static_cast<std::size_t>(i)].groupId);
    if (found == groupIndex_.end()) {
      const int row = static_cast<int>(top_.size());
      beginInsertRows({}, row, row);
      top_.push_back(TopRow{false, i, {}});
      itemRow_.emplace_back(row, -1);
    } else {
      const int row = rowOfGroup[static_cast<std::size_t>(found->second)];
      std::vector<int>& children = top_[static_cast<std::size_t>(row)].children;
      const int child = static_cast<int>(children.size());
      beginInsertRows(index(row, 0), child, child);
      children.push_back(i);
      itemRow_.emplace_back(row, child);
    }
    endInsertRows();
  }
  return true;
}

void HistoryModel::rebuild() {
  dirty_ = false;
  top_.clear();
  itemRow_.clear();
  flatRows_ = 0;
  if (flat()) {
    flatRows_ = itemCount();
    return;
  }
  std::vector<std::vector<int>> members(groups_.size());
  std::vector<int> loners;
  for (int i = 0; i < itemCount(); ++i) {
    const auto found = groupIndex_.find(items_[static_cast<std::size_t>(i)].groupId);
    if (found != groupIndex_.end()) {
      members[static_cast<std::size_t>(found->second)].push_back(i);
    } else {
      loners.push_back(i);
    }
  }
  itemRow_.assign(items_.size(), {-1, -1});
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    if (members[g].empty()) continue;
    const int row = static_cast<int>(top_.size());
    for (std::size_t c = 0; c < members[g].size(); ++c)
      itemRow_[static_cast<std::size_t>(members[g][c])] = {row, static_cast<int>(c)};
    top_.push_back(TopRow{true, static_cast<int>(g), std::move(members[g])});
  }
  for (int item : loners) {
    itemRow_[static_cast<std::size_t>(item)] = {static_cast<int>(top_.size()), -1};
    top_.push_back(TopRow{false, item, {}});
  }
}

const HistoryModel::Group* HistoryModel::findGroup(int groupId) const {
  const auto found = groupIndex_.find(groupId);
  return found == groupIndex_.end() ? nullptr : &groups_[static_cast<std::size_t>(found->second)];
}

HistoryModel::Group* HistoryModel::findGroup(int groupId) {
  const auto found = groupIndex_.find(groupId);
  return found == groupIndex_.end() ? nullptr : &groups_[static_cast<std::size_t>(found->second)];
}

int HistoryModel::itemAt(const QModelIndex& index) const {
  if (!index.isValid()) return -1;
  if (flat()) return index.row();
  if (index.internalId() == 0) {
    const TopRow& top = top_[static_cast<std::size_t>(index.row())];
    return top.isGroup ? -1 : top.ref;
  }
  return top_[index.internalId() - 1].children[static_cast<std::size_t>(index.row())];
}

QModelIndex HistoryModel::indexOfItem(int item) const {
  if (flat()) return item >= 0 && item < flatRows_ ? index(item, 0) : QModelIndex();
  if (item < 0 || item >= static_cast<int>(itemRow_.size())) return {};
  const auto [top, child] = itemRow_[static_cast<std::size_t>(item)];
  if (top < 0) return {};
  return child < 0 ? index(top, 0) : index(child, 0, index(top, 0));
}

std::optional<int> HistoryModel::groupAt(const QModelIndex& index) const {
  if (flat() || !index.isValid() || index.internalId() != 0) return std::nullopt;
  const TopRow& top = top_[static_cast<std::size_t>(index.row())];
  if (!top.isGroup) return std::nullopt;
  return groups_[static_cast<std::size_t>(top.ref)].id;
}

QModelIndex HistoryModel::indexOfGroup(int groupId) const {
  if (flat()) return {};
  const auto found = groupIndex_.find(groupId);
  if (found == groupIndex_.end()) return {};
  for (std::size_t row = 0; row < top_.size(); ++row) {
    if (top_[row].isGroup && top_[row].ref == found->second) return index(static_cast<int>(row), 0);
  }
  return {};
}

QModelIndex HistoryModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= 3) return {};
  if (!parent.isValid()) return row < rowCount() ? createIndex(row, column, quintptr{0}) : QModelIndex();
  if (rowCount(parent) <= row) return {};
  return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex HistoryModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return flat() ? flatRows_ : static_cast<int>(top_.size());
  if (flat() || parent.column() != 0 || parent.internalId() != 0) return 0;
  const TopRow& top = top_[static_cast<std::size_t>(parent.row())];
  return top.isGroup ? static_cast<int>(top.children.size()) : 0;
}

int HistoryModel::columnCount(const QModelIndex&) const { return 3; }

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (const auto group = groupAt(index)) {
    const Group* g = findGroup(*group);
    if (role == GroupRowRole) return true;
    if (role == SubtitleRole) return ToQt(g->subtitle);
    if (role == Qt::DisplayRole && index.column() == 0) return ToQt(g->header);
    // Painted under the header, and spoken with it.
    if (role == Qt::AccessibleTextRole && index.column() == 0) return ToQt(g->header + ". " + g->subtitle);
    if (role == Qt::AccessibleDescriptionRole && index.column() == 0) return ToQt(g->subtitle);
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  return itemText(itemAt(index), index.column());
}

QString HistoryModel::itemText(int item, int column) const {
  if (rows_ == nullptr) {
    const HistoryItem& it = items_[static_cast<std::size_t>(item)];
    return ToQt(column == 0 ? it.caption : column == 1 ? it.date : it.path);
  }
  if (item >= rows_->count()) return {};  // dropped since shown
  const std::string_view text = column == 0   ? rows_->caption(item)
                                : column == 1 ? rows_->date(item)
                                              : rows_->path(item);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kCaptions[] = {"Изображение", "Время загрузки", "Путь к изображению"};
  return section >= 0 && section < 3 ? QString::fromUtf8(kCaptions[section]) : QVariant();
}

Qt::ItemFlags HistoryModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (groupAt(index)) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace cvu
