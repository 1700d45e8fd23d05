#include "store/history_read.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "store/app_database.h"

namespace cvu {
namespace {

constexpr const char* kHistoryTable = "CVU_HISTORY";
constexpr const char* kSelectHistory = "SELECT * FROM CVU_HISTORY";
constexpr const char* kSelectFirstChunk = "SELECT rowid AS cvu_row_id, * FROM CVU_HISTORY ORDER BY rowid LIMIT ?";
constexpr const char* kSelectNextChunk =
    "SELECT rowid AS cvu_row_id, * FROM CVU_HISTORY WHERE rowid > ? ORDER BY rowid LIMIT ?";

constexpr std::array<const char*, 7> kColumns = {"image_id",  "folder_id",       "image_name", "image_th",
                                                 "base_file", "base_filefolder", "upload_date"};

// Reads chunk after chunk; each statement's read ends (and with it its read
// transaction) when the statement is reset.
void ReadInChunks(DbStatement& first, DbStatement& next, const HistoryReadOptions& options, LoadedHistory& loaded) {
  const HistoryColumns columns = FindHistoryColumns(first);
  const int chunkRows = std::max(1, options.chunkRows);
  first.bindInt64(1, chunkRows);
  ReadHistoryRows(first, columns, loaded);
  first.reset();
  int before = 0;
  while (loaded.rowCount - before == chunkRows) {
    if (options.stopRequested && options.stopRequested()) {
      loaded.stopped = true;
      return;
    }
    if (options.betweenChunks) options.betweenChunks();
    before = loaded.rowCount;
    next.bindInt64(1, loaded.lastRowId);
    next.bindInt64(2, chunkRows);
    ReadHistoryRows(next, columns, loaded);
    next.reset();
  }
}

void ReadTable(AppDatabase& db, const HistoryReadOptions& options, LoadedHistory& loaded) {
  if (!db.tableExists(kHistoryTable)) {
    loaded.tableMissing = true;
    return;
  }
  std::optional<DbStatement> first, next;
  try {
    first.emplace(db.handle(), kSelectFirstChunk);
    next.emplace(db.handle(), kSelectNextChunk);
  } catch (const DatabaseError&) {
    // A table without row ids has no order to resume from.
    DbStatement whole(db.handle(), kSelectHistory);
    ReadHistoryRows(whole, FindHistoryColumns(whole), loaded);
    return;
  }
  ReadInChunks(*first, *next, options, loaded);
  if (loaded.rowCount == 0) loaded.lastRowId = 0;
}

}  // namespace

LoadedHistory ReadHistoryTable(const std::string& databasePath, const HistoryReadOptions& options) {
  LoadedHistory loaded;
  try {
    AppDatabase db;
    db.setBusyTimeout(options.busyTimeoutMs);
    db.openReadOnly(databasePath);
    ReadTable(db, options, loaded);
  } catch (const std::exception& e) {
    loaded.failure = e.what();
  }
  return loaded;
}

HistoryColumns FindHistoryColumns(const DbStatement& st) {
  HistoryColumns columns;
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    columns.fields[i] = st.findColumn(kColumns[i]);
    if (columns.fields[i] < 0 && columns.missing.empty()) {
      columns.missing = std::string("Field not found in dataset: ") + kColumns[i];
    }
  }
  columns.rowId = st.findColumn("cvu_row_id");
  return columns;
}

void ReadHistoryRows(DbStatement& st, const HistoryColumns& columns, LoadedHistory& into) {
  into.missingColumn = columns.missing;
  std::array<std::string, 7> texts;  // their room is reused from row to row
  HistoryFields fields{};
  while (st.step()) {
    if (columns.rowId >= 0) {
      const long long id = st.readInt64(columns.rowId);
      if (into.rowCount == 0 || id > into.lastRowId) into.lastRowId = id;
    }
    ++into.rowCount;
    if (!columns.missing.empty()) continue;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      st.readText(columns.fields[i], texts[i]);
      fields[i] = texts[i];
    }
    into.records.push_back(fields);
  }
}

}  // namespace cvu
