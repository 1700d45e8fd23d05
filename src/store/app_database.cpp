#include "store/app_database.h"

#include <sqlite3.h>

#include "common/text.h"

namespace cvu {
namespace {

// The journal mode a "PRAGMA journal_mode" statement answers; empty when it fails (the
// file is busy, or cannot be written).
std::string QueryMode(sqlite3* db, const char* sql) {
  try {
    DbStatement st(db, sql);
    std::string mode;
    if (st.step()) st.readText(0, mode);
    return AsciiLower(mode);
  } catch (const DatabaseError&) {
    return {};
  }
}

}  // namespace

AppDatabase::AppDatabase() = default;
AppDatabase::~AppDatabase() { close(); }

// A file left in log mode (a program that ended without closing it) is taken as it
// is, reading only, and goes back to a rollback journal at close like any other.
void AppDatabase::open(const std::string& path) {
  openWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (QueryMode(db_, "PRAGMA journal_mode") == "wal") enterWriteAheadLog();
}

// Each recorded image is one committed insert, made while the next file waits. With a
// write-ahead log (synchronous=NORMAL) a commit is an append to the log in the system's
// cache, no sync: a rollback journal needed two to three syncs per image. A commit
// survives the program's crash at once and the file is never left damaged; the log
// reaches the disk at the end of each upload group (syncToDisk) and at close. close()
// turns the file back to a rollback journal, so between runs it is the file it was.
//
// The switch itself rewrites the file's header with syncs (milliseconds, far more on
// a slow disk), so it is made when uploads start, not at every start of the program.
// It needs the file to itself: while another connection reads (the start-up read of a
// long history) it is not waited for; the file keeps its journal and a later upload
// tries again.
void AppDatabase::useWriteAheadLog() {
  if (!db_ || readOnly_ || writeAheadLog_) return;
  sqlite3_busy_timeout(db_, 0);
  const bool switched = QueryMode(db_, "PRAGMA journal_mode=WAL") == "wal";
  sqlite3_busy_timeout(db_, busyTimeoutMs_);
  if (switched) enterWriteAheadLog();
}

void AppDatabase::enterWriteAheadLog() {
  writeAheadLog_ = true;
  sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
}

void AppDatabase::syncToDisk() {
  if (db_ && writeAheadLog_) sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

void AppDatabase::openReadOnly(const std::string& path) {
  openWith(path, SQLITE_OPEN_READONLY);
  readOnly_ = true;
}

void AppDatabase::openWith(const std::string& path, int access) {
  close();
  sqlite3* db = nullptr;
  // One thread uses a connection, so SQLite's own lock per call is not needed.
  const int flags = access | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw DatabaseError(message);
  }
  sqlite3_busy_timeout(db, busyTimeoutMs_);
  db_ = db;
}

void AppDatabase::close() {
  kept_.clear();
  if (!db_) return;
  // Back to the usual rollback journal: the log is written into the database and
  // removed. Another program that still has the file open keeps it in log mode until
  // it closes it in turn; the log holds nothing that is lost either way.
  if (writeAheadLog_) sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
  readOnly_ = false;
  writeAheadLog_ = false;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

void AppDatabase::setBusyTimeout(int milliseconds) {
  busyTimeoutMs_ = milliseconds;
  if (db_) sqlite3_busy_timeout(db_, milliseconds);
}

sqlite3_stmt* AppDatabase::keptStatement(const std::string& sql) {
  if (const auto found = kept_.find(sql); found != kept_.end()) return found->second.get();
  return kept_.emplace(sql, Prepare(db_, sql)).first->second.get();
}

bool AppDatabase::tableExists(const std::string& name) {
  DbStatement st = keptQuery("SELECT name FROM sqlite_master WHERE type='table'");
  std::string table;
  while (st.step()) {
    st.readText(0, table);
    if (AsciiEqualIgnoringCase(table, name)) return true;
  }
  return false;
}

void AppDatabase::execute(const std::string& sql, const std::vector<std::string>& params) {
  DbStatement st = keptQuery(sql);
  if (static_cast<int>(params.size()) != st.parameterCount()) {
    throw DatabaseError("Wrong number of parameters for: " + sql);
  }
  for (std::size_t i = 0; i < params.size(); ++i) st.bindText(static_cast<int>(i + 1), params[i]);
  while (st.step()) {
  }
}

DbStatement AppDatabase::keptQuery(const std::string& sql) {
  return DbStatement(db_, keptStatement(sql), DbStatement::Kept{});
}

}  // namespace cvu
