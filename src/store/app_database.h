#pragma once
// The program's single database connection (RAII over sqlite3). Statements carry
// their values as bound parameters; texts are stored in Windows-1251.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/db_statement.h"

struct sqlite3;
struct sqlite3_stmt;

namespace cvu {

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

  // The query of sql to step row by row, prepared on its first use and kept for the
  // next (each recorded image reads the rows added since the last). It is reset when
  // the returned statement goes; one statement of the same text is stepped at a time.
  DbStatement keptQuery(const std::string& sql);

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
  std::unordered_map<std::string, PreparedStatement> kept_;  // finalized at close
  bool readOnly_ = false;
  bool writeAheadLog_ = false;
  int busyTimeoutMs_ = 250;  // a file held by another program must not freeze the window
};

}  // namespace cvu
