// LoadFullHistory against the floor: a plain sqlite3 read of the same rows that copies
// the seven texts of each row into a vector, with no conversion and no lookup by name.
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/queue_ui_thread.h"
#include "headless/headless_controls.h"
#include "program/app_context.h"
#include "store/history_store.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Db {
  sqlite3* handle = nullptr;
  explicit Db(const std::string& path) {
    if (sqlite3_open(path.c_str(), &handle) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  }
  ~Db() { sqlite3_close(handle); }
  void exec(const std::string& sql) {
    if (sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(handle));
    }
  }
};

// A database made from the supplied schema holding rows like real uploads.
void MakeDatabase(const std::string& path, int rows) {
  std::filesystem::remove(path);
  std::ifstream in(CVU_BENCH_SCHEMA);
  std::stringstream schema;
  schema << in.rdbuf();
  Db db(path);
  db.exec(schema.str());
  db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
          ") INSERT INTO CVU_HISTORY SELECT printf('%012x', i * 7919), 'i' || (i % 9), printf('%012x.png', i * 7919),"
          " printf('%012x.th.png', i * 7919), 'IMG_' || i || '.jpg', '/home/user/Pictures/2026/IMG_' || i || "
          "'.jpg', '8 Декабрь 2026 г. 0:09:04' FROM n");
}

std::size_t RowCount(Db& db) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db.handle, "SELECT count(*) FROM CVU_HISTORY", -1, &st, nullptr);
  const std::size_t n = sqlite3_step(st) == SQLITE_ROW ? static_cast<std::size_t>(sqlite3_column_int64(st, 0)) : 0;
  sqlite3_finalize(st);
  return n;
}

// The floor of reading: every row stepped and its seven texts touched, nothing kept.
std::size_t StepOnly(const std::string& path) {
  Db db(path);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db.handle, "SELECT * FROM CVU_HISTORY", -1, &st, nullptr);
  std::size_t rows = 0;
  std::size_t bytes = 0;
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int c = 0; c < 7; ++c) {
      if (sqlite3_column_text(st, c)) bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
    }
    ++rows;
  }
  sqlite3_finalize(st);
  return bytes > 0 ? rows : 0;
}

// The floor of keeping: the same rows copied into a vector reserved for them.
std::size_t PlainRead(const std::string& path) {
  Db db(path);
  std::vector<std::array<std::string, 7>> rows;
  rows.reserve(RowCount(db));
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db.handle, "SELECT * FROM CVU_HISTORY", -1, &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) {
    auto& row = rows.emplace_back();
    for (int c = 0; c < 7; ++c) {
      row[c].assign(reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
    }
  }
  sqlite3_finalize(st);
  return rows.size();
}

struct NullClipboard : cvu::Clipboard {
  void setText(const std::string&) override {}
};

struct NullDialogs : cvu::Dialogs {
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> saveFile(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::vector<std::string> openFiles(const std::string&) override { return {}; }
};

// The median of several timed runs, in milliseconds.
double MedianMs(int runs, const std::function<std::size_t()>& body, std::size_t expected) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    const std::size_t n = body();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (n != expected) throw std::runtime_error("read " + std::to_string(n) + " rows");
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Measure(const std::string& path, int rows, int runs) {
  MakeDatabase(path, rows);
  cvu::QueueUiThread ui;
  cvu::SystemClock clock;
  NullClipboard clipboard;
  NullDialogs dialogs;
  cvu::HeadlessMain main;
  cvu::AppContext ctx(ui, clock, clipboard, dialogs, main);
  ctx.db.open(path);
  const auto expected = static_cast<std::size_t>(rows);
  const double step = MedianMs(
      runs, [&] { return StepOnly(path); }, expected);
  const double floor = MedianMs(
      runs, [&] { return PlainRead(path); }, expected);
  const double load = MedianMs(
      runs,
      [&] {
        ctx.history.FullHistory.clear();
        cvu::LoadFullHistory(ctx);
        return static_cast<std::size_t>(ctx.history.FullHistory.count());
      },
      expected);
  const double reload = MedianMs(
      runs,
      [&] {
        cvu::LoadFullHistory(ctx);
        return static_cast<std::size_t>(ctx.history.FullHistory.count());
      },
      expected);
  std::printf(
      "%7d rows  step-only %8.2f ms  floor %8.2f ms  LoadFullHistory %8.2f ms (%.2fx floor, %.2fx step)"
      "  reload %8.2f ms (%.2fx)\n",
      rows, step, floor, load, load / floor, load / step, reload, reload / floor);
}

}  // namespace

int main() {
  const auto dir = std::filesystem::temp_directory_path() / "cvu-bench-history";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "cvxas.common.dll").string();
  Measure(path, 3000, 41);
  Measure(path, 100000, 11);
  std::filesystem::remove_all(dir);
  return 0;
}
