#pragma once
// The upload history: this run's records (grouped) and a mirror of CVU_HISTORY.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
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

// The fields of a record in their order.
enum class HistoryField { image_id, folder_id, image_name, image_th, base_file, base_filefolder, upload_date, group };
constexpr std::size_t kHistoryFieldCount = 8;
using HistoryFields = std::array<std::string_view, kHistoryFieldCount>;

// A list of records held packed: a million records of the table must cost little more
// than their texts. The texts go into blocks that are never moved once filled, each record
// its fields one after another, every field behind its length; a record is found by one
// small locator. Readers check indexes against count().
class HistoryList : public HistoryRows {
 public:
  HistoryList() = default;
  HistoryList(HistoryList&&) noexcept = default;
  HistoryList& operator=(HistoryList&&) noexcept = default;
  HistoryList(const HistoryList&) = delete;
  HistoryList& operator=(const HistoryList&) = delete;

  int count() const override { return static_cast<int>(locators_.size()); }
  bool has(int index) const { return index >= 0 && index < count(); }
  // A copy of the record. Throws std::out_of_range for an index outside the list.
  HistoryRecord at(int index) const;
  // The field in place; empty for an index outside the list. Valid until the list is
  // cleared, replaced or destroyed (adding records leaves it valid).
  std::string_view field(int index, HistoryField f) const;
  // All fields of a record in place; empty for an index outside the list.
  HistoryFields fields(int index) const;

  std::string_view caption(int index) const override { return field(index, HistoryField::base_file); }
  std::string_view date(int index) const override { return field(index, HistoryField::upload_date); }
  std::string_view path(int index) const override { return field(index, HistoryField::base_filefolder); }

  void push_back(const HistoryRecord& record);
  void push_back(const HistoryFields& fields);
  void clear();

  // The heap the list holds, for measuring: its blocks and its locators.
  std::size_t memoryBytes() const;

 private:
  struct Block {
    std::unique_ptr<char[]> bytes;
    std::uint32_t size = 0;
    std::uint32_t used = 0;
  };
  struct Locator {
    std::uint32_t block;
    std::uint32_t offset;
  };

  char* room(std::size_t size);
  const char* recordBytes(int index) const;

  std::vector<Block> blocks_;     // moving a Block moves only its pointer, never the texts
  std::deque<Locator> locators_;  // grows without copying what it holds
};

struct History {
  HistoryList RunHistory;
  HistoryList FullHistory;
  bool FullHistoryShown = false;  // which list the history page shows
  // The table's highest row id when FullHistory was last read whole; -1 when unknown.
  // The table only ever grows, so after an insert only the rows above it are read.
  long long FullHistoryLastRowId = -1;
  // The start-up read of the table runs off the UI thread: until it is installed a
  // recorded image only gets its row, which the installation then reads.
  bool FullHistoryLoading = false;
  // A row was inserted while the read ran (the installation may have to read the table again).
  bool FullHistoryMissedRows = false;
  // False where no full history is shown (the command line): a recorded image only gets
  // its row, and a long history is never read into memory.
  bool FullHistoryKept = true;
};

}  // namespace cvu
