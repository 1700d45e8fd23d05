#pragma once
// The upload history: this run's records (grouped) and a mirror of CVU_HISTORY.
#include <string>
#include <vector>

#include "common/history_rows.h"

namespace cvu {

// One uploaded image. All fields are text; group is set in the run history only.
struct HistoryRecord {
  std::string image_id;
  std::string folder_id;
  std::string image_name;
  std::string image_th;  // exactly "0" when the service made no thumbnail
  std::string base_file;
  std::string base_filefolder;
  std::string upload_date;
  std::string group;
};

// A list of records that grows as needed. Readers check indexes against count().
class HistoryList : public HistoryRows {
 public:
  int count() const override { return static_cast<int>(records_.size()); }
  bool has(int index) const { return index >= 0 && index < count(); }
  std::string_view caption(int index) const override {
    return has(index) ? std::string_view(at(index).base_file) : std::string_view();
  }
  std::string_view date(int index) const override {
    return has(index) ? std::string_view(at(index).upload_date) : std::string_view();
  }
  std::string_view path(int index) const override {
    return has(index) ? std::string_view(at(index).base_filefolder) : std::string_view();
  }
  // Throws std::out_of_range for an index outside the list.
  const HistoryRecord& at(int index) const { return records_.at(static_cast<std::size_t>(index)); }
  std::vector<HistoryRecord>& records() { return records_; }
  const std::vector<HistoryRecord>& records() const { return records_; }
  void clear() { records_.clear(); }

 private:
  std::vector<HistoryRecord> records_;
};

struct History {
  HistoryList RunHistory;
  HistoryList FullHistory;
  bool FullHistoryShown = false;  // which list the history page shows
  // The table's highest row id when FullHistory was last read whole; -1 when unknown.
  // The table only ever grows, so after an insert only the rows above it are read.
  long long FullHistoryLastRowId = -1;
};

}  // namespace cvu
