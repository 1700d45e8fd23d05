#include "tree_reference.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>
#include <QWindow>
#include <algorithm>

namespace cvu::bench {
namespace {

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

}  // namespace

double ReferenceSwitch(const std::vector<HistoryRecord>& records, QSize size, int runs) {
  RecordsModel model;
  QTreeView tree;
  tree.setModel(&model);
  tree.setUniformRowHeights(true);
  tree.setRootIsDecorated(false);
  const int widths[] = {200, 155, 196};
  for (int column = 0; column < 3; ++column) tree.setColumnWidth(column, widths[column]);
  tree.resize(size);
  tree.show();
  while (tree.windowHandle() == nullptr || !tree.windowHandle()->isExposed()) QApplication::processEvents();
  std::vector<double> seconds;
  QElapsedTimer timer;
  for (int run = 0; run < runs; ++run) {
    model.show(nullptr);
    QApplication::processEvents();
    timer.restart();
    model.show(&records);
    tree.scrollTo(model.index(static_cast<int>(records.size()) - 1, 0), QAbstractItemView::EnsureVisible);
    tree.repaint();
    QApplication::processEvents();
    seconds.push_back(timer.nsecsElapsed() / 1e9);
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

}  // namespace cvu::bench
