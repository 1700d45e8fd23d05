#include "app/qt_log_list.h"

#include <QItemSelectionModel>

#include "app/qt_controls.h"

namespace cvu {

std::uint32_t LogLineStore::take(std::size_t next, const std::string& line) {
  if (next < lines_.size() && lines_[next] == line) return static_cast<std::uint32_t>(next);
  lines_.push_back(line);
  return static_cast<std::uint32_t>(lines_.size() - 1);
}

int LogListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

QVariant LogListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
  return ToQt(store_.at(rows_[static_cast<std::size_t>(index.row())]));
}

void LogListModel::showAdded() {
  const int all = static_cast<int>(rows_.size());
  if (all == shown_) return;
  beginInsertRows({}, shown_, all - 1);
  shown_ = all;
  endInsertRows();
}

void LogListModel::removeRow(int row) {
  showAdded();
  if (row < 0 || row >= shown_) return;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  --shown_;
  endRemoveRows();
}

void LogListModel::clearRows() {
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  shown_ = 0;
  endResetModel();
}

QtLogList::QtLogList(QListView* view, LogLineStore& store, int batchMs)
    : view_(view), store_(store), model_(new LogListModel(store, view)), scroll_(std::make_unique<QTimer>()) {
  view_->setModel(model_);
  scroll_->setSingleShot(true);
  scroll_->setInterval(batchMs);
  QObject::connect(scroll_.get(), &QTimer::timeout, view_, [this] {
    flush();
    if (model_->shown() > 0) view_->scrollTo(model_->index(model_->shown() - 1));
  });
}

void QtLogList::flush() const { model_->showAdded(); }

int QtLogList::count() const {
  flush();
  return model_->shown();
}

std::string QtLogList::line(int index) const {
  flush();
  if (index < 0 || index >= model_->shown()) return {};
  return store_.at(model_->rows()[static_cast<std::size_t>(index)]);
}

void QtLogList::addLine(const std::string& line) {
  const std::uint32_t position = store_.take(next_, line);
  model_->rows().push_back(position);
  next_ = std::size_t{position} + 1;
  if (scroll_->interval() == 0) flush();
  if (!scroll_->isActive()) scroll_->start();
}

void QtLogList::clear() { model_->clearRows(); }

bool QtLogList::isSelected(int index) const {
  flush();
  return view_->selectionModel()->isSelected(model_->index(index));
}

void QtLogList::setSelected(int index, bool on) {
  flush();
  const QModelIndex row = model_->index(index);
  if (row.isValid()) {
    view_->selectionModel()->select(row, on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
  }
}

void QtLogList::removeLine(int index) { model_->removeRow(index); }

}  // namespace cvu
