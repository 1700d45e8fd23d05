#include "support/test_support.h"

#include <sqlite3.h>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

namespace cvu::test {
namespace {

struct DbHandle {
  sqlite3* db = nullptr;
  explicit DbHandle(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  }
  ~DbHandle() { sqlite3_close(db); }
};

}  // namespace

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("cvu-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void RunSql(const std::string& path, const std::string& sql) {
  DbHandle h(path);
  char* error = nullptr;
  if (sqlite3_exec(h.db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "sqlite error";
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

void CreateDatabaseFromSchema(const std::string& path) {
  std::ifstream in(CVU_TEST_SCHEMA);
  std::stringstream sql;
  sql << in.rdbuf();
  RunSql(path, sql.str());
}

std::string QueryBytes(const std::string& path, const std::string& sql) { return QueryText(path, sql).value_or(""); }

std::optional<std::string> QueryText(const std::string& path, const std::string& sql) {
  DbHandle h(path);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(h.db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(h.db));
  std::optional<std::string> result;
  if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL) {
    result = std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_bytes(st, 0));
  }
  sqlite3_finalize(st);
  return result;
}

void FakeClipboard::setText(const std::string& utf8) {
  if (failNext) {
    failNext = false;
    throw std::runtime_error("Cannot open clipboard");
  }
  history.push_back(utf8);
}

HeadlessProgram::HeadlessProgram(bool withDatabase) {
  ctx.databasePath = dir.file("cvxas.common.dll");
  if (withDatabase) std::filesystem::copy_file(CVU_TEST_SUPPLIED_DB, ctx.databasePath);
  ctx.log.attachBigLog(bigLog);
}

std::vector<std::string> HeadlessProgram::logBodies() const {
  std::vector<std::string> bodies;
  for (const auto& line : main.logList.lines) {
    const auto at = line.find("] ");
    bodies.push_back(at == std::string::npos ? line : line.substr(at + 2));
  }
  return bodies;
}

}  // namespace cvu::test
