// LoadFullHistory and the start-up read ReadHistoryTable against the floors: a plain
// sqlite3 read of the same rows that copies the seven texts of each row into a reserved
// vector, and one that only steps through them. Also what the loaded list costs per row,
// and how much the process grows to hold it and at the peak of reading it.
#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
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

// A database made from the supplied schema holding rows like real uploads (those of
// bench_gui: about 137 bytes a row on disk).
void MakeDatabase(const std::string& path, int rows) {
  std::filesystem::remove(path);
  std::ifstream in(CVU_BENCH_SCHEMA);
  std::stringstream schema;
  schema << in.rdbuf();
  Db db(path);
  db.exec(schema.str());
  db.exec("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows - 1) +
          ") INSERT INTO CVU_HISTORY SELECT 'a1b2c' || (1000000 + i), 'i1', 'a1b2c' || (1000000 + i) || '.jpg',"
          " CASE WHEN i % 3 THEN 'a1b2c' || (1000000 + i) || '.th.jpg' ELSE '0' END, 'photo_' || i || '.jpg',"
          " '/home/anna/Pictures/photo_' || i || '.jpg', '8 Dec 2026 0:09:04' FROM n");
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

// A figure of /proc/self/status ("VmRSS", "VmHWM") in bytes.
std::size_t StatusBytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::stoull(line.substr(key.size() + 1)) * 1024;
  }
  return 0;
}

// Starts the peak anew at the current size (Linux 4.0 and later).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Growth {
  double idlePerRow;
  double peakPerRow;
};

// How much the process grows, per row, to hold what load() returns and at the peak of
// making it. Freed heap is handed back first, so earlier runs do not hide the growth.
template <typename Load>
Growth MeasureGrowth(int rows, Load load) {
  malloc_trim(0);
  const std::size_t before = StatusBytes("VmRSS");
  ResetPeak();
  const auto kept = load();
  const std::size_t idle = StatusBytes("VmRSS");
  const std::size_t peak = StatusBytes("VmHWM");
  if (kept.count() != rows) throw std::runtime_error("read " + std::to_string(kept.count()) + " rows");
  return {static_cast<double>(idle - before) / rows, static_cast<double>(peak - before) / rows};
}

// Records uploads on the program's connection while the start-up read runs on its own
// thread, as the UI thread would: how long the slowest insert waited for the reader.
// With reading false, as many inserts with nothing else running: what an insert costs alone.
struct InsertWaits {
  double longest = 0;
  int inserts = 0;
};

InsertWaits LongestInsert(cvu::AppContext& ctx, const std::string& path, bool reading, int inserts) {
  std::atomic<bool> done{!reading};
  std::thread reader([&] {
    if (reading) cvu::ReadHistoryTable(path);
    done = true;
  });
  InsertWaits waits;
  int& n = waits.inserts;
  double& longest = waits.longest;
  while (reading ? !done.load() : n < inserts) {
    const auto start = Clock::now();
    ctx.db.execute("INSERT INTO CVU_HISTORY VALUES(?, 'i1', 'n.jpg', '0', 'n.jpg', '/n.jpg', 'd')",
                   {"new" + std::to_string(n++)});
    longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  reader.join();
  return waits;
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
  StepOnly(path);  // the file into the page cache

  const Growth readGrowth = MeasureGrowth(rows, [&] { return std::move(cvu::ReadHistoryTable(path).records); });
  const Growth loadGrowth = MeasureGrowth(rows, [&] {
    cvu::LoadFullHistory(ctx.db, ctx.history, ctx.log);
    return std::move(ctx.history.FullHistory);
  });
  cvu::LoadFullHistory(ctx.db, ctx.history, ctx.log);
  const double listBytes = static_cast<double>(ctx.history.FullHistory.memoryBytes()) / rows;

  const auto expected = static_cast<std::size_t>(rows);
  const double step = MedianMs(
      runs, [&] { return StepOnly(path); }, expected);
  const double floor = MedianMs(
      runs, [&] { return PlainRead(path); }, expected);
  const double load = MedianMs(
      runs,
      [&] {
        ctx.history.FullHistory.clear();
        cvu::LoadFullHistory(ctx.db, ctx.history, ctx.log);
        return static_cast<std::size_t>(ctx.history.FullHistory.count());
      },
      expected);
  const double read = MedianMs(
      runs, [&] { return static_cast<std::size_t>(cvu::ReadHistoryTable(path).records.count()); }, expected);
  std::printf(
      "%7d rows  step-only %8.2f ms  floor %8.2f ms  LoadFullHistory %8.2f ms (%.2fx floor, %.2fx step)"
      "  ReadHistoryTable %8.2f ms (%.2fx floor, %.2fx step)\n",
      rows, step, floor, load, load / floor, load / step, read, read / floor, read / step);
  std::printf(
      "%7d rows  list %.1f B/row  process growth: LoadFullHistory idle %.1f peak %.1f B/row,"
      " ReadHistoryTable idle %.1f peak %.1f B/row\n",
      rows, listBytes, loadGrowth.idlePerRow, loadGrowth.peakPerRow, readGrowth.idlePerRow, readGrowth.peakPerRow);
  const InsertWaits during = LongestInsert(ctx, path, true, 0);
  const InsertWaits alone = LongestInsert(ctx, path, false, during.inserts);
  std::printf(
      "%7d rows  longest of %d inserts on the UI connection: %.2f ms while ReadHistoryTable runs, %.2f ms alone\n",
      rows, during.inserts, during.longest, alone.longest);
  std::fflush(stdout);
}

}  // namespace

// --million adds the 1,000,000-row table (about a minute with its making).
int main(int argc, char** argv) {
  const bool million = argc > 1 && std::string(argv[1]) == "--million";
  const auto dir = std::filesystem::temp_directory_path() / "cvu-bench-history";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "cvxas.common.dll").string();
  Measure(path, 3000, 41);
  Measure(path, 100000, 11);
  if (million) Measure(path, 1000000, 5);
  std::filesystem::remove_all(dir);
  return 0;
}
