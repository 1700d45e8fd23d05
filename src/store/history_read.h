#pragma once
// Reading CVU_HISTORY into a new list as its rows are stepped, on the UI thread's
// connection or, at start-up, on a worker thread's own read-only connection.
#include <array>
#include <functional>
#include <string>

#include "store/db_statement.h"
#include "store/history.h"

namespace cvu {

// What one read of the table found.
struct LoadedHistory {
  HistoryList records;       // fields 1 to 7 of each row, in the order read
  int rowCount = 0;          // rows stepped (also those left unread for a missing column)
  long long lastRowId = -1;  // the highest row id read; -1 when the table has no row ids
  bool tableMissing = false;
  std::string missingColumn;  // "Field not found in dataset: ..." when a column is missing; no row is then read
  std::string failure;        // the database's message when the read itself failed
  bool stopped = false;       // the program began to close before the read ended
};

struct HistoryReadOptions {
  int busyTimeoutMs = 250;
  // Rows per read transaction: short enough that the UI thread's insert of a recorded
  // image waits a few milliseconds at most.
  int chunkRows = 2000;
  std::function<bool()> stopRequested;  // asked between chunks
  std::function<void()> betweenChunks;  // runs between chunks, outside any read
};

// Reads the whole table in row id order on a connection of its own, chunk by chunk;
// a table without row ids is read in one go. Any thread; never throws.
LoadedHistory ReadHistoryTable(const std::string& databasePath, const HistoryReadOptions& options = {});

// The seven columns of a history query by name, letter case ignored, in field order,
// and the "cvu_row_id" column when the query has one (-1 otherwise).
struct HistoryColumns {
  std::array<int, 7> fields{};
  int rowId = -1;
  std::string missing;  // the failure for the first column not found
};
HistoryColumns FindHistoryColumns(const DbStatement& st);

// Steps st to its end, adding each row to into (only counting rows when a column is
// missing). Throws DatabaseError when a step fails.
void ReadHistoryRows(DbStatement& st, const HistoryColumns& columns, LoadedHistory& into);

}  // namespace cvu
