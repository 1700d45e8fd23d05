#include "history_database.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace cvu::bench {
namespace {

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
  void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using DbPtr = std::unique_ptr<sqlite3, DbCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementCloser>;

DbPtr Open(const std::string& path) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open(path.c_str(), &db);
  DbPtr owned(db);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  return owned;
}

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "sqlite error";
    sqlite3_free(error);
    throw std::runtime_error(message + " in: " + sql);
  }
}

StatementPtr Prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
  }
  return StatementPtr(st);
}

std::string Schema() {
  std::ifstream file(CVU_BENCH_SCHEMA);
  if (!file) throw std::runtime_error("cannot read " CVU_BENCH_SCHEMA);
  std::stringstream sql;
  sql << file.rdbuf();
  return sql.str();
}

// Rows as the program records them: a third without a thumbnail.
void AddHistory(sqlite3* db, int rows) {
  const StatementPtr st = Prepare(db, "INSERT INTO CVU_HISTORY VALUES(?, 'i1', ?, ?, ?, ?, ?)");
  for (int i = 0; i < rows; ++i) {
    const std::string id = "a1b2c" + std::to_string(1000000 + i);
    const std::string name = "photo_" + std::to_string(i) + ".jpg";
    const std::string values[] = {
        id, id + ".jpg", i % 3 ? id + ".th.jpg" : "0", name, "/home/anna/Pictures/" + name, "8 Dec 2026 0:09:04"};
    for (int c = 0; c < 6; ++c) sqlite3_bind_text(st.get(), c + 1, values[c].c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(st.get()) != SQLITE_DONE) throw std::runtime_error("history insert failed");
    sqlite3_reset(st.get());
  }
}

}  // namespace

void MakeHistoryDatabase(const std::string& path, int rows) {
  std::filesystem::remove(path);
  const DbPtr db = Open(path);
  Exec(db.get(), Schema());
  Exec(db.get(), "BEGIN");
  AddHistory(db.get(), rows);
  Exec(db.get(), "COMMIT");
}

void ExecSql(const std::string& path, const std::string& sql) { Exec(Open(path).get(), sql); }

long CountRows(const std::string& path, const std::string& table) {
  const DbPtr db = Open(path);
  const StatementPtr st = Prepare(db.get(), "SELECT count(*) FROM " + table);
  if (sqlite3_step(st.get()) != SQLITE_ROW) throw std::runtime_error("cannot count " + table);
  return sqlite3_column_int64(st.get(), 0);
}

}  // namespace cvu::bench
