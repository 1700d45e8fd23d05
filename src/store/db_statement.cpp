#include "store/db_statement.h"

#include <sqlite3.h>

#include <algorithm>

#include "common/cp1251.h"
#include "common/text.h"

namespace cvu {
namespace {

void Finalize(sqlite3_stmt* st) { sqlite3_finalize(st); }

void ResetKept(sqlite3_stmt* st) {
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
}

int TimesPreparedAgain(sqlite3_stmt* st) { return sqlite3_stmt_status(st, SQLITE_STMTSTATUS_REPREPARE, 0); }

DatabaseError LastError(sqlite3* db) { return DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db))); }

bool IsNumericDeclared(const char* type) {
  if (!type) return false;
  const std::string lower = AsciiLower(type);
  return lower.find("int") != std::string::npos || lower == "boolean";
}

}  // namespace

void StatementFinalizer::operator()(sqlite3_stmt* st) const { Finalize(st); }

PreparedStatement Prepare(sqlite3* db, const std::string& sql) {
  if (!db) throw DatabaseError("Database is not open");
  sqlite3_stmt* raw = nullptr;
  const std::string bytes = Utf8ToCp1251(sql);
  if (sqlite3_prepare_v2(db, bytes.c_str(), static_cast<int>(bytes.size()), &raw, nullptr) != SQLITE_OK) {
    throw LastError(db);
  }
  return PreparedStatement(raw);
}

DbStatement::DbStatement(sqlite3* db, const std::string& sql) : db_(db), st_(Prepare(db, sql).release(), Finalize) {
  readColumns();
}

DbStatement::DbStatement(sqlite3* db, sqlite3_stmt* kept, Kept) : db_(db), st_(kept, ResetKept) { readColumns(); }

void DbStatement::readColumns() {
  names_.clear();
  numeric_.clear();
  const int count = sqlite3_column_count(st_.get());
  for (int c = 0; c < count; ++c) {
    names_.push_back(Cp1251ToUtf8(sqlite3_column_name(st_.get(), c)));
    numeric_.push_back(IsNumericDeclared(sqlite3_column_decltype(st_.get(), c)));
  }
  prepared_ = TimesPreparedAgain(st_.get());
}

// SQLite prepares a statement again by itself when the schema changed since it was
// prepared; the columns found by name before the step may then be others.
void DbStatement::checkColumnsKept() {
  if (TimesPreparedAgain(st_.get()) == prepared_) return;
  const std::vector<std::string> names = names_;
  const std::vector<bool> numeric = numeric_;
  readColumns();
  if (names_ != names || numeric_ != numeric) throw DatabaseError("The table's columns changed while it was read");
}

DbStatement::~DbStatement() = default;

int DbStatement::parameterCount() const { return sqlite3_bind_parameter_count(st_.get()); }

void DbStatement::bindText(int parameter, const std::string& utf8) {
  const std::string bytes = Utf8ToCp1251(utf8);
  if (sqlite3_bind_text(st_.get(), parameter, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK) {
    throw LastError(db_);
  }
}

void DbStatement::bindInt64(int parameter, long long value) {
  if (sqlite3_bind_int64(st_.get(), parameter, value) != SQLITE_OK) throw LastError(db_);
}

bool DbStatement::step() {
  const int rc = sqlite3_step(st_.get());
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw LastError(db_);
  checkColumnsKept();
  return rc == SQLITE_ROW;
}

void DbStatement::reset() { sqlite3_reset(st_.get()); }

int DbStatement::findColumn(std::string_view name) const {
  for (std::size_t c = 0; c < names_.size(); ++c) {
    if (AsciiEqualIgnoringCase(names_[c], name)) return static_cast<int>(c);
  }
  return -1;
}

void DbStatement::readText(int column, std::string& out) const {
  sqlite3_stmt* st = st_.get();
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
  const std::string_view stored(text ? text : "",
                                text ? static_cast<std::size_t>(sqlite3_column_bytes(st, column)) : 0);
  // Stored bytes are Windows-1251; plain ASCII (most of what is stored) needs no work.
  const bool ascii =
      std::all_of(stored.begin(), stored.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    out.assign(stored);
  } else {
    out = Cp1251ToUtf8(stored);
  }
}

std::string DbStatement::readDeclared(int column) const {
  if (numeric_[static_cast<std::size_t>(column)]) return std::to_string(readInt64(column));
  std::string text;
  readText(column, text);
  return text;
}

long long DbStatement::readInt64(int column) const { return sqlite3_column_int64(st_.get(), column); }

}  // namespace cvu
