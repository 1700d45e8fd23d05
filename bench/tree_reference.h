#pragma once
// The yardstick for the history list: a plain tree view with uniform row heights whose
// table model reads the records in place, nothing more.
#include <QSize>
#include <QTreeView>
#include <memory>
#include <vector>

#include "store/history.h"

namespace cvu::bench {

class RecordsModel;

class ReferenceList {
 public:
  // Shows an empty list in a window of the given size.
  ReferenceList(const std::vector<HistoryRecord>& records, QSize size);
  ~ReferenceList();
  // Seconds from showing the records in a fresh reset to the list painted, scrolled to
  // its last row; empties the list again afterwards.
  double switchOnce();

 private:
  const std::vector<HistoryRecord>& records_;
  std::unique_ptr<RecordsModel> model_;
  QTreeView tree_;
};

}  // namespace cvu::bench
