#pragma once
// The yardstick for the history list: a plain tree view with uniform row heights whose
// table model reads the records in place, nothing more.
#include <QSize>
#include <vector>

#include "store/history.h"

namespace cvu::bench {

// Seconds from showing the records in a fresh reset to the list painted, scrolled to
// its last row, in a window of the given size; the median of the given number of runs.
double ReferenceSwitch(const std::vector<HistoryRecord>& records, QSize size, int runs);

}  // namespace cvu::bench
