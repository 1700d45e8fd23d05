#include "store/history_store.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "common/text.h"
#include "common/timestamp.h"
#include "store/db_statement.h"

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

// -1 when the table has no row ids to go by.
long long LastRowId(AppDatabase& db) {
  try {
    DbStatement st(db.handle(), kSelectLastRowId);
    return st.step() ? st.readInt64(0) : 0;
  } catch (const std::exception&) {
    return -1;
  }
}

// A row that cannot be read leaves every slot as it was: the first count slots of the
// old list keep their records, the slots past its end are empty.
HistoryList KeepSlots(const HistoryList& old, int count) {
  HistoryList slots;
  for (int i = 0; i < count; ++i) slots.push_back(old.fields(i));
  return slots;
}

// FullHistory takes what was read; false (and Error 066 logged) when its rows could not be read.
bool TakeRows(History& history, ActivityLog& log, LoadedHistory& loaded) {
  HistoryList& full = history.FullHistory;
  if (loaded.missingColumn.empty()) {
    full = std::move(loaded.records);
    return true;
  }
  log.AddLogLine(kError066, loaded.missingColumn);
  full = KeepSlots(full, loaded.rowCount);
  return false;
}

// After an insert: only the rows added since the last read; anything unexpected (the
// table gone, too) reads the whole table again. Added rows are read apart first, so a
// failing read leaves the list as it was.
void LoadAddedHistory(AppDatabase& db, History& h, ActivityLog& log) {
  if (h.FullHistoryLastRowId < 0) return LoadFullHistory(db, h, log);
  LoadedHistory added;
  try {
    DbStatement st = db.keptQuery(kSelectAddedRows);
    st.bindInt64(1, h.FullHistoryLastRowId);
    ReadHistoryRows(st, FindHistoryColumns(st), added);
  } catch (const DatabaseError&) {
    return LoadFullHistory(db, h, log);
  }
  if (!added.missingColumn.empty()) {
    log.AddLogLine(kError066, added.missingColumn);
    for (int i = 0; i < added.rowCount; ++i) h.FullHistory.push_back(HistoryFields{});
    h.FullHistoryLastRowId = -1;
    return;
  }
  for (int i = 0; i < added.records.count(); ++i) h.FullHistory.push_back(added.records.fields(i));
  if (added.rowCount > 0) h.FullHistoryLastRowId = std::max(h.FullHistoryLastRowId, added.lastRowId);
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
void LoadFullHistory(AppDatabase& db, History& history, ActivityLog& log) {
  if (!db.tableExists(kHistoryTable)) {
    log.AddLogLine(kError065, "");
    return;
  }
  history.FullHistoryLastRowId = -1;
  LoadedHistory loaded;
  DbStatement st(db.handle(), kSelectHistory);
  ReadHistoryRows(st, FindHistoryColumns(st), loaded);
  if (TakeRows(history, log, loaded)) history.FullHistoryLastRowId = LastRowId(db);
}

void InstallLoadedHistory(StoreContext& ctx, LoadedHistory&& loaded) {
  History& h = ctx.history;
  h.FullHistoryLoading = false;
  const bool missedRows = std::exchange(h.FullHistoryMissedRows, false);
  if (loaded.stopped) return;
  if (!loaded.failure.empty()) {
    ctx.dialogs.showMessage(loaded.failure);
    return;
  }
  if (loaded.tableMissing) {
    ctx.AddLogLine(kError065, "");
    return;
  }
  h.FullHistoryLastRowId = -1;
  if (TakeRows(h, ctx.log, loaded)) h.FullHistoryLastRowId = loaded.lastRowId;
  try {
    // The rows recorded while the read ran (or added by another program).
    if (h.FullHistoryLastRowId >= 0) {
      LoadAddedHistory(ctx.db, h, ctx.log);
    } else if (missedRows) {
      LoadFullHistory(ctx.db, h, ctx.log);
    }
    if (ctx.fullHistoryLoaded) ctx.fullHistoryLoaded();
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
}

namespace {

// Writes the record's row and reads the rows added since; a failure is logged. While
// the start-up read runs, its installation reads the row instead. True when the row
// was written.
bool StoreRecord(StoreContext& ctx, const HistoryRecord& record) {
  History& h = ctx.history;
  bool stored = false;
  try {
    if (ctx.db.tableExists(kHistoryTable)) {
      InsertRow(ctx, record);
      stored = true;
      if (h.FullHistoryLoading) h.FullHistoryMissedRows = true;
    } else {
      ctx.AddLogLine(kError064, "");
    }
    if (!h.FullHistoryLoading && h.FullHistoryKept) LoadAddedHistory(ctx.db, h, ctx.log);
  } catch (const std::exception& e) {
    ctx.AddLogLine(kError062, e.what());
  }
  return stored;
}

}  // namespace

// The service has accepted the image, so its record joins the run history and the page
// even when the database refuses the row: its links stay at hand for this run.
bool AddHistoryRecord(StoreContext& ctx, const std::string& filePath, int groupId, const std::string& imageId,
                      const std::string& folderId, const std::string& imageName, const std::string& thumbName) {
  HistoryRecord record = MakeRecord(ctx, filePath, groupId, imageId, folderId, imageName, thumbName);
  const bool stored = StoreRecord(ctx, record);
  ctx.history.RunHistory.push_back(record);
  try {
    if (ctx.historyRecorded) ctx.historyRecorded();
  } catch (const std::exception& e) {
    ctx.AddLogLine(kError062, e.what());
  }
  return stored;
}

}  // namespace cvu
