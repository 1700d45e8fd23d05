#include "store/app_database.h"

#include <sqlite3.h>

#include <algorithm>

#include "common/cp1251.h"

namespace cvu {
namespace {

struct StatementDeleter {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

}  // namespace

AppDatabase::AppDatabase() = default;
AppDatabase::~AppDatabase() { close(); }

void AppDatabase::open(const std::string& path) {
  close();
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw DatabaseError(message);
  }
  sqlite3_busy_timeout(db, 2000);
  db_ = db;
}

void AppDatabase::close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

namespace {

Statement Prepare(sqlite3* db, const std::string& sql) {
  if (!db) throw DatabaseError("Database is not open");
  sqlite3_stmt* raw = nullptr;
  const std::string bytes = Utf8ToCp1251(sql);
  if (sqlite3_prepare_v2(db, bytes.c_str(), static_cast<int>(bytes.size()), &raw, nullptr) != SQLITE_OK) {
    throw DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db)));
  }
  return Statement(raw);
}

}  // namespace

bool AppDatabase::tableExists(const std::string& name) {
  Statement st = Prepare(db_, "SELECT name FROM sqlite_master WHERE type='table'");
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    if (text && EqualsIgnoreCase(Cp1251ToUtf8(text), name)) return true;
  }
  if (rc != SQLITE_DONE) throw DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db_)));
  return false;
}

void AppDatabase::execute(const std::string& sql, const std::vector<std::string>& params) {
  Statement st = Prepare(db_, sql);
  for (std::size_t i = 0; i < params.size(); ++i) {
    const std::string bytes = Utf8ToCp1251(params[i]);
    sqlite3_bind_text(st.get(), static_cast<int>(i + 1), bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
  }
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) throw DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db_)));
}

std::vector<DbRow> AppDatabase::query(const std::string& sql) {
  Statement st = Prepare(db_, sql);
  const int columns = sqlite3_column_count(st.get());
  std::vector<std::string> names(columns), types(columns);
  for (int c = 0; c < columns; ++c) {
    names[c] = Cp1251ToUtf8(sqlite3_column_name(st.get(), c));
    const char* type = sqlite3_column_decltype(st.get(), c);
    types[c] = type ? Upper(type) : "";
  }
  std::vector<DbRow> rows;
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    DbRow row(columns);
    for (int c = 0; c < columns; ++c) {
      row[c].name = names[c];
      row[c].declaredType = types[c];
      const int kind = sqlite3_column_type(st.get(), c);
      if (kind == SQLITE_NULL) continue;
      row[c].isInteger = kind == SQLITE_INTEGER || kind == SQLITE_FLOAT;
      if (kind == SQLITE_FLOAT) {
        row[c].text = std::to_string(sqlite3_column_int64(st.get(), c));
      } else {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), c));
        row[c].text = Cp1251ToUtf8(std::string(text, sqlite3_column_bytes(st.get(), c)));
      }
    }
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) throw DatabaseError(Cp1251ToUtf8(sqlite3_errmsg(db_)));
  return rows;
}

const DbValue& FieldByName(const DbRow& row, const std::string& name) {
  for (const auto& value : row) {
    if (EqualsIgnoreCase(value.name, name)) return value;
  }
  throw DatabaseError("Field not found in dataset: " + name);
}

std::string FieldAsText(const DbValue& value) {
  const bool numeric = value.declaredType.find("INT") != std::string::npos || value.declaredType == "BOOLEAN";
  if (!value.text) return numeric ? "0" : "";
  // A text that is not a number keeps its text, so that its conversion fails
  // with a message instead of silently reading as zero.
  return *value.text;
}

}  // namespace cvu
