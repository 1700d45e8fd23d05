#include "store/history_store.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string>

#include "common/text.h"
#include "common/timestamp.h"

namespace cvu {
namespace {

constexpr const char* kHistoryTable = "CVU_HISTORY";
constexpr const char* kSelectHistory = "SELECT * FROM CVU_HISTORY";
constexpr const char* kSelectLastRowId = "SELECT max(rowid) FROM CVU_HISTORY";
constexpr const char* kSelectAddedRows = "SELECT rowid AS cvu_row_id, * FROM CVU_HISTORY WHERE rowid > ?";
constexpr const char* kInsertHistory =
    "INSERT INTO CVU_HISTORY"
    " (image_id, folder_id, image_name, image_th, base_file, base_filefolder, upload_date)"
    " VALUES (?, ?, ?, ?, ?, ?, ?)";

constexpr const char* kError062 = "[Error 062] #085# Критическая ошибка обработки данных. Код ошибки: \"%\"";
constexpr const char* kError064 = "[Error 064] #502# Ошибка обработки данных cvxas.common.dll";
constexpr const char* kError065 = "[Error 065] #010# Ошибка обработки данных cvxas.common.dll";
constexpr const char* kError066 = "[Error 066] #290# Ошибка обработки данных cvxas.common.dll. Код ошибки: %";

constexpr std::array<const char*, 7> kColumns = {"image_id",  "folder_id",       "image_name", "image_th",
                                                 "base_file", "base_filefolder", "upload_date"};

using ColumnIndexes = std::array<int, kColumns.size()>;

// The seven columns by name, letter case ignored, in record field order.
ColumnIndexes FindColumns(const DbResult& result) {
  ColumnIndexes indexes{};
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    indexes[i] = result.findColumn(kColumns[i]);
    if (indexes[i] < 0) throw DatabaseError(std::string("Field not found in dataset: ") + kColumns[i]);
  }
  return indexes;
}

void CopyRow(DbResult& result, std::size_t row, const ColumnIndexes& at, HistoryRecord& r) {
  std::string* fields[] = {&r.image_id,  &r.folder_id,       &r.image_name, &r.image_th,
                           &r.base_file, &r.base_filefolder, &r.upload_date};
  for (std::size_t i = 0; i < at.size(); ++i) *fields[i] = std::move(result.cell(row, at[i])).value_or("");
}

// The list takes the result's row count first (after the rows it keeps); a row that
// cannot be read stops the copy and leaves the later slots as they were. False then.
bool CopyRows(StoreContext& ctx, DbResult& result, std::size_t kept) {
  auto& records = ctx.history.FullHistory.records();
  // Room for the rows this run will add, so recording an image never moves a long list.
  if (kept == 0) records.reserve(result.rowCount() + result.rowCount() / 8 + 512);
  records.resize(kept + result.rowCount());
  try {
    const ColumnIndexes at = FindColumns(result);
    for (std::size_t row = 0; row < result.rowCount(); ++row) CopyRow(result, row, at, records[kept + row]);
    return true;
  } catch (const std::exception& e) {
    ctx.AddLogLine(kError066, e.what());
    return false;
  }
}

// -1 when the table has no row ids to go by.
long long LastRowId(StoreContext& ctx) {
  try {
    DbResult result = ctx.db.select(kSelectLastRowId);
    const auto& value = result.cell(0, 0);
    return value ? std::stoll(*value) : 0;
  } catch (const std::exception&) {
    return -1;
  }
}

// After an insert: only the rows added since the last read; anything unexpected reads
// the whole table again.
void LoadAddedHistory(StoreContext& ctx) {
  History& h = ctx.history;
  if (h.FullHistoryLastRowId < 0 || !ctx.db.tableExists(kHistoryTable)) return LoadFullHistory(ctx);
  DbResult added;
  try {
    added = ctx.db.select(kSelectAddedRows, {std::to_string(h.FullHistoryLastRowId)});
  } catch (const DatabaseError&) {
    return LoadFullHistory(ctx);
  }
  const std::size_t kept = static_cast<std::size_t>(h.FullHistory.count());
  if (!CopyRows(ctx, added, kept)) {
    h.FullHistoryLastRowId = -1;
    return;
  }
  const int idColumn = added.findColumn("cvu_row_id");
  for (std::size_t row = 0; row < added.rowCount(); ++row) {
    h.FullHistoryLastRowId = std::max(h.FullHistoryLastRowId, std::stoll(added.cell(row, idColumn).value_or("0")));
  }
}

HistoryRecord MakeRecord(StoreContext& ctx, const std::string& filePath, int groupId, const std::string& imageId,
                         const std::string& folderId, const std::string& imageName, const std::string& thumbName) {
  HistoryRecord r;
  r.upload_date = FormatTimestamp(ctx.clock.now());
  r.image_id = imageId;
  r.folder_id = folderId;
  r.image_name = imageName;
  r.image_th = thumbName;
  r.base_file = LastPathComponent(filePath);
  r.base_filefolder = filePath;
  r.group = std::to_string(groupId);
  return r;
}

void InsertRow(StoreContext& ctx, const HistoryRecord& r) {
  ctx.db.execute(kInsertHistory,
                 {r.image_id, r.folder_id, r.image_name, r.image_th, r.base_file, r.base_filefolder, r.upload_date});
}

}  // namespace

// A failure of the query itself is left to the caller.
void LoadFullHistory(StoreContext& ctx) {
  if (!ctx.db.tableExists(kHistoryTable)) {
    ctx.AddLogLine(kError065, "");
    return;
  }
  ctx.history.FullHistoryLastRowId = -1;
  DbResult result = ctx.db.select(kSelectHistory);
  if (CopyRows(ctx, result, 0)) ctx.history.FullHistoryLastRowId = LastRowId(ctx);
}

namespace {

// Writes the record's row and reads the rows added since; a failure is logged.
void StoreRecord(StoreContext& ctx, const HistoryRecord& record) {
  try {
    if (ctx.db.tableExists(kHistoryTable)) {
      InsertRow(ctx, record);
    } else {
      ctx.AddLogLine(kError064, "");
    }
    LoadAddedHistory(ctx);
  } catch (const std::exception& e) {
    ctx.AddLogLine(kError062, e.what());
  }
}

}  // namespace

// The service has accepted the image, so its record joins the run history and the page
// even when the database refuses the row: its links stay at hand for this run.
void AddHistoryRecord(StoreContext& ctx, const std::string& filePath, int groupId, const std::string& imageId,
                      const std::string& folderId, const std::string& imageName, const std::string& thumbName) {
  HistoryRecord record = MakeRecord(ctx, filePath, groupId, imageId, folderId, imageName, thumbName);
  StoreRecord(ctx, record);
  ctx.history.RunHistory.records().push_back(std::move(record));
  try {
    if (ctx.historyRecorded) ctx.historyRecorded();
  } catch (const std::exception& e) {
    ctx.AddLogLine(kError062, e.what());
  }
}

}  // namespace cvu
