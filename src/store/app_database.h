#pragma once
// The program's single database connection (RAII over sqlite3). Statements carry
// their values as bound parameters; texts are stored in Windows-1251.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/db_statement.h"

struct sqlite3;
struct sqlite3_stmt;

namespace cvu {

// A failure reported by the database layer; what() is its message.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One column of a result: its name, declared type and value in UTF-8 (nullopt: NULL).
struct DbValue {
  std::string name;
  std::string declaredType;
  std::optional<std::string> text;
  bool isInteger = false;  // stored as an integer (or a real), text holds its decimal value
};

using DbRow = std::vector<DbValue>;

// Ends a prepared statement's life (sqlite3_finalize), for unique_ptr.
struct StatementFinalizer {
  void operator()(sqlite3_stmt* st) const;
};

// The columns of a result, named once.
struct DbColumn {
  std::string name;
  std::string declaredType;  // upper case, empty when the column has none
};

// A whole result held compactly: the columns once, then the cells row after row, as
// UTF-8 texts (nullopt: NULL). Used where many rows are read.
struct DbResult {
  std::vector<DbColumn> columns;
  std::vector<std::optional<std::string>> cells;

  std::size_t rowCount() const { return columns.empty() ? 0 : cells.size() / columns.size(); }
  // The index of a column by name, letter case ignored; -1 when there is none.
  int findColumn(const std::string& name) const;
  std::optional<std::string>& cell(std::size_t row, int column) {
    return cells[row * columns.size() + static_cast<std::size_t>(column)];
  }
};

class AppDatabase {
 public:
  AppDatabase();
  ~AppDatabase();
  AppDatabase(const AppDatabase&) = delete;
  AppDatabase& operator=(const AppDatabase&) = delete;

  // Opens (creating an empty file when missing) the database at path. A file the
  // system does not let us write opens read-only: reading works, writes fail. A
  // "file:" URI is taken as one (e.g. "?mode=ro"). Throws DatabaseError with the
  // database layer's message when it cannot.
  void open(const std::string& path);
  // Opens an existing file for reading only, as a second connection beside the
  // program's own (the start-up read of the history on its own thread). Throws DatabaseError.
  void openReadOnly(const std::string& path);
  void close();
  // Keeps commits in a write-ahead log from now until close (see the definition); does
  // nothing when the file cannot take one now.
  void useWriteAheadLog();
  bool usesWriteAheadLog() const { return writeAheadLog_; }
  // Writes the log of recent commits into the database file and makes both reach the
  // disk. Commits themselves only reach the system's cache (see useWriteAheadLog()); a failure is
  // left for the next commit or the close to meet.
  void syncToDisk();
  bool isOpen() const { return db_ != nullptr; }

  // Whether the catalogue lists a table of this name, letter case ignored.
  bool tableExists(const std::string& name);

  // Runs one statement with its texts bound in order to "?" parameters (converted
  // to Windows-1251); throws DatabaseError on failure. The statement is prepared on its
  // first run and kept for the next (each recorded image runs the same insert).
  void execute(const std::string& sql, const std::vector<std::string>& params = {});

  // Runs a query and returns all its rows.
  std::vector<DbRow> query(const std::string& sql);

  // The query of sql to step row by row, prepared on its first use and kept for the
  // next (each recorded image reads the rows added since the last). It is reset when
  // the returned statement goes; one statement of the same text is stepped at a time.
  DbStatement keptQuery(const std::string& sql);

  // Runs a query and returns all its rows in the compact form.
  DbResult select(const std::string& sql, const std::vector<std::string>& params = {});

  // How long a statement waits for another connection's lock before it fails with
  // "database is locked". Applies to the current and later connections.
  void setBusyTimeout(int milliseconds);
  int busyTimeout() const { return busyTimeoutMs_; }

  sqlite3* handle() { return db_; }

 private:
  void openWith(const std::string& path, int flags);
  void enterWriteAheadLog();
  // The kept statement of sql, prepared now when there is none. Kept statements are
  // reset after every use, so none holds a read open between calls. Every text the
  // program runs is its own, values are bound: the statements kept are a few dozen
  // at most, for the connection's life.
  sqlite3_stmt* keptStatement(const std::string& sql);

  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, StatementFinalizer>> kept_;  // finalized at close
  bool readOnly_ = false;
  bool writeAheadLog_ = false;
  int busyTimeoutMs_ = 250;  // a file held by another program must not freeze the window
};

// Finds a column by name, letter case ignored; throws DatabaseError
// "Field not found in dataset: " + name when there is none.
const DbValue& FieldByName(const DbRow& row, const std::string& name);

// The value as the settings reader takes it: integer and boolean columns read as
// the decimal text of SQLite's integer value of what they hold ("0" for NULL, "0"
// for "x"), others as stored ("" for NULL).
std::string FieldAsText(const DbValue& value);

}  // namespace cvu
