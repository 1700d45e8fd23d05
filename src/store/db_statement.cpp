#include "store/db_statement.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "common/cp1251.h"
#include "store/app_database.h"

namespace cvu {
namespace {

void Finalize(sqlite3_stmt* st) { sqlite3_finalize(st); }

void ResetKept(sqlite3_stmt* st) {
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
}

int TimesPreparedAgain(sqlite3_stmt* st) { return sqlite3_stmt_status(st, SQLITE_STMTSTATUS_REPREPARE, 0); }

DatabaseError LastError(sqlite3* db) { return DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db))); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

bool IsNumericDecl(const char* type) {
  if (!type) return false;
  std::string upper(type);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper.find("INT") != std::string::npos || upper == "BOOLEAN";
}

sqlite3_stmt* PrepareRaw(sqlite3* db, const std::string& sql) {
  if (!db) throw DatabaseError("Database is not open");
  sqlite3_stmt* raw = nullptr;
  const std::string bytes = Utf8ToCp1251(sql);
  if (sqlite3_prepare_v2(db, bytes.c_str(), static_cast<int>(bytes.size()), &raw, nullptr) != SQLITE_OK) {
    throw LastError(db);
  }
  return raw;
}

}  // namespace

DbStatement::DbStatement(sqlite3* db, const std::string& sql) : db_(db), st_(PrepareRaw(db, sql), Finalize) {
  readColumns();
}

DbStatement::DbStatement(sqlite3* db, sqlite3_stmt* kept, Kept) : db_(db), st_(kept, ResetKept) { readColumns(); }

void DbStatement::readColumns() {
  names_.clear();
  numeric_.clear();
  const int count = sqlite3_column_count(st_.get());
  for (int c = 0; c < count; ++c) {
    names_.push_back(Cp1251ToUtf8(sqlite3_column_name(st_.get(), c)));
    numeric_.push_back(IsNumericDecl(sqlite3_column_decltype(st_.get(), c)));
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
    if (EqualsIgnoreCase(names_[c], name)) return static_cast<int>(c);
  }
  return -1;
}

void DbStatement::readText(int column, std::string& out) const {
  sqlite3_stmt* st = st_.get();
  const int kind = sqlite3_column_type(st, column);
  if (kind == SQLITE_NULL) {
    out.clear();
  } else if (kind != SQLITE_INTEGER && numeric_[static_cast<std::size_t>(column)]) {
    out = std::to_string(sqlite3_column_int64(st, column));
  } else {
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
}

long long DbStatement::readInt64(int column) const { return sqlite3_column_int64(st_.get(), column); }

}  // namespace cvu
