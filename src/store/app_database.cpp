#include "store/app_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <functional>

#include "common/cp1251.h"
#include "common/text.h"

namespace cvu {

void StatementFinalizer::operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

bool IsNumericType(const std::string& upperType) {
  return upperType.find("INT") != std::string::npos || upperType == "BOOLEAN";
}

// Stored bytes are Windows-1251; plain ASCII (most of what is stored) needs no work.
std::string FromStored(const char* bytes, int size) {
  const std::string_view view(bytes ? bytes : "", bytes ? static_cast<std::size_t>(size) : 0);
  const bool ascii = std::all_of(view.begin(), view.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii ? std::string(view) : Cp1251ToUtf8(view);
}

DatabaseError LastError(sqlite3* db) { return DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db))); }

Statement Prepare(sqlite3* db, const std::string& sql) {
  if (!db) throw DatabaseError("Database is not open");
  sqlite3_stmt* raw = nullptr;
  const std::string bytes = Utf8ToCp1251(sql);
  if (sqlite3_prepare_v2(db, bytes.c_str(), static_cast<int>(bytes.size()), &raw, nullptr) != SQLITE_OK) {
    throw LastError(db);
  }
  return Statement(raw);
}

// Ends a kept statement's run however it ends: back before its first row, no values bound.
class ResetWhenDone {
 public:
  explicit ResetWhenDone(sqlite3_stmt* st) : st_(st) {}
  ~ResetWhenDone() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
  }
  ResetWhenDone(const ResetWhenDone&) = delete;
  ResetWhenDone& operator=(const ResetWhenDone&) = delete;

 private:
  sqlite3_stmt* st_;
};

// Steps through every row, handing each to onRow; throws when the database reports an error.
void StepAll(sqlite3* db, sqlite3_stmt* st, const std::function<void()>& onRow) {
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) onRow();
  if (rc != SQLITE_DONE) throw LastError(db);
}

std::vector<DbColumn> Columns(sqlite3_stmt* st) {
  std::vector<DbColumn> columns(static_cast<std::size_t>(sqlite3_column_count(st)));
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int i = static_cast<int>(c);
    columns[c].name = Cp1251ToUtf8(sqlite3_column_name(st, i));
    const char* type = sqlite3_column_decltype(st, i);
    columns[c].declaredType = type ? Upper(type) : "";
  }
  return columns;
}

// One cell as text. Any value of a numeric column reads as its integer value, as
// SQLite's own conversion makes it (a real is cut, text "12abc" is 12, "x" is 0).
std::optional<std::string> CellText(sqlite3_stmt* st, int c, const DbColumn& column) {
  const int kind = sqlite3_column_type(st, c);
  if (kind == SQLITE_NULL) return std::nullopt;
  if (kind != SQLITE_INTEGER && IsNumericType(column.declaredType)) return std::to_string(sqlite3_column_int64(st, c));
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
  return FromStored(text, sqlite3_column_bytes(st, c));
}

// The journal mode a "PRAGMA journal_mode" statement answers; empty when it fails (the
// file is busy, or cannot be written).
std::string QueryMode(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return {};
  const Statement st(raw);
  if (sqlite3_step(raw) != SQLITE_ROW) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
  return text != nullptr ? AsciiLower(text) : std::string();
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
  sqlite3_stmt* st = keptStatement("SELECT name FROM sqlite_master WHERE type='table'");
  const ResetWhenDone done(st);
  bool found = false;
  StepAll(db_, st, [&] {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    if (text && EqualsIgnoreCase(Cp1251ToUtf8(text), name)) found = true;
  });
  return found;
}

namespace {

void BindTexts(sqlite3_stmt* st, const std::string& sql, const std::vector<std::string>& params) {
  if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(st)) {
    throw DatabaseError("Wrong number of parameters for: " + sql);
  }
  for (std::size_t i = 0; i < params.size(); ++i) {
    const std::string bytes = Utf8ToCp1251(params[i]);
    sqlite3_bind_text(st, static_cast<int>(i + 1), bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
}

}  // namespace

void AppDatabase::execute(const std::string& sql, const std::vector<std::string>& params) {
  sqlite3_stmt* st = keptStatement(sql);
  const ResetWhenDone done(st);
  BindTexts(st, sql, params);
  StepAll(db_, st, [] {});
}

std::vector<DbRow> AppDatabase::query(const std::string& sql) {
  Statement st = Prepare(db_, sql);
  const std::vector<DbColumn> columns = Columns(st.get());
  std::vector<DbRow> rows;
  StepAll(db_, st.get(), [&] {
    DbRow row(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const int i = static_cast<int>(c);
      row[c].name = columns[c].name;
      row[c].declaredType = columns[c].declaredType;
      const int kind = sqlite3_column_type(st.get(), i);
      row[c].isInteger = kind == SQLITE_INTEGER || kind == SQLITE_FLOAT;
      row[c].text = CellText(st.get(), i, columns[c]);
    }
    rows.push_back(std::move(row));
  });
  return rows;
}

DbStatement AppDatabase::keptQuery(const std::string& sql) {
  return DbStatement(db_, keptStatement(sql), DbStatement::Kept{});
}

DbResult AppDatabase::select(const std::string& sql, const std::vector<std::string>& params) {
  Statement st = Prepare(db_, sql);
  BindTexts(st.get(), sql, params);
  DbResult result;
  result.columns = Columns(st.get());
  const int count = static_cast<int>(result.columns.size());
  StepAll(db_, st.get(), [&] {
    for (int c = 0; c < count; ++c) result.cells.push_back(CellText(st.get(), c, result.columns[c]));
  });
  return result;
}

int DbResult::findColumn(const std::string& name) const {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (EqualsIgnoreCase(columns[c].name, name)) return static_cast<int>(c);
  }
  return -1;
}

const DbValue& FieldByName(const DbRow& row, const std::string& name) {
  for (const auto& value : row) {
    if (EqualsIgnoreCase(value.name, name)) return value;
  }
  throw DatabaseError("Field not found in dataset: " + name);
}

std::string FieldAsText(const DbValue& value) {
  if (!value.text) return IsNumericType(value.declaredType) ? "0" : "";
  // Values of numeric columns were read as their integer value already; other
  // columns keep their text, and its conversion, if any, may fail with its message.
  return *value.text;
}

}  // namespace cvu
