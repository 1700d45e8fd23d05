#include "tree_reference.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

namespace cvu::bench {

class RecordsModel : public QAbstractTableModel {
 public:
  void show(const std::vector<HistoryRecord>* records) {
    beginResetModel();
    records_ = records;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || records_ == nullptr ? 0 : static_cast<int>(records_->size());
  }
  int columnCount(const QModelIndex&) const override { return 3; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    const HistoryRecord& r = (*records_)[static_cast<std::size_t>(index.row())];
    const std::string& text = index.column() == 0   ? r.base_file
                              : index.column() == 1 ? r.upload_date
                                                    : r.base_filefolder;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }

 private:
  const std::vector<HistoryRecord>* records_ = nullptr;
};

ReferenceList::ReferenceList(const std::vector<HistoryRecord>& records, QSize size)
    : records_(records), model_(std::make_unique<RecordsModel>()) {
  tree_.setModel(model_.get());
  tree_.setUniformRowHeights(true);
  tree_.setRootIsDecorated(false);
  const int widths[] = {200, 155, 196};
  for (int column = 0; column < 3; ++column) tree_.setColumnWidth(column, widths[column]);
  tree_.resize(size);
  tree_.show();
  while (tree_.windowHandle() == nullptr || !tree_.windowHandle()->isExposed()) QApplication::processEvents();
}

ReferenceList::~ReferenceList() { tree_.setModel(nullptr); }

double ReferenceList::switchOnce() {
  QElapsedTimer timer;
  timer.start();
  model_->show(&records_);
  tree_.scrollTo(model_->index(static_cast<int>(records_.size()) - 1, 0), QAbstractItemView::EnsureVisible);
  tree_.repaint();
  QApplication::processEvents();
  const double seconds = timer.nsecsElapsed() / 1e9;
  model_->show(nullptr);
  QApplication::processEvents();
  return seconds;
}

}  // namespace cvu::bench
