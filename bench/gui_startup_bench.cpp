// Start-up and memory of the real program as a process on a private X display (Xvfb),
// with 0, 100,000 and 1,000,000 rows in CVU_HISTORY, against a minimal Qt window of the
// same size built in this tree (bench_minimal_window), blank and with one line of text.
// Start-up is exec to the first answer of the window's UI thread after the window is
// mapped; the worst stall is the longest ping round trip in the first seconds; the memory
// is read once it stopped growing. Goals: start-up within 1.5x the one-line window at 0
// and 1,000,000 rows, no stall over 50 ms in the first 5 s, at most 160 bytes per history
// row in VmRSS and VmHWM.
//
// With --programs A,B the named builds of the program take turns with each other and the
// two windows in every round, and each is reported; the pairs of rounds give what one
// build costs against the other (an ablation: the program with and without a piece).
//
//   bench_gui_startup [--rows 0,100000,1000000] [--rounds 3] [--window 5] [--settle-max 120]
//                     [--programs PATH,PATH...]
#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/single_instance.h"
#include "bench_support.h"
#include "gui_environment.h"
#include "history_database.h"
#include "window_probe.h"

namespace {

using namespace cvu::bench;

struct Options {
  std::vector<int> rows = {0, 100000, 1000000};
  int rounds = 3;
  ProbeSettings probe;
  std::vector<std::string> programs = {CVU_GUI_EXE};
};

std::vector<std::string> ParseTexts(const std::string& text) {
  std::vector<std::string> values;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ',');) values.push_back(item);
  return values;
}

std::vector<int> ParseList(const std::string& text) {
  std::vector<int> values;
  for (const auto& item : ParseTexts(text)) values.push_back(std::atoi(item.c_str()));
  return values;
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--rows") {
      o.rows = ParseList(value);
    } else if (name == "--rounds") {
      o.rounds = std::max(1, std::atoi(value.c_str()));
    } else if (name == "--window") {
      o.probe.window = std::atof(value.c_str());
    } else if (name == "--settle-max") {
      o.probe.settleMax = std::atof(value.c_str());
    } else if (name == "--programs") {
      o.programs = ParseTexts(value);
    } else {
      std::fprintf(stderr, "unknown option %s\n", name.c_str());
      std::exit(2);
    }
  }
  return o;
}

struct Spread {
  double median, min, max;
};

Spread SpreadOf(const std::vector<double>& values) {
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  return {Median(values), *low, *high};
}

template <typename Field>
Spread SpreadOf(const std::vector<Probe>& probes, Field field) {
  std::vector<double> values;
  for (const Probe& p : probes) values.push_back(field(p));
  return SpreadOf(values);
}

struct SizeResult {
  std::vector<std::vector<Probe>> programs;  // per build of the program, one per round
  std::vector<Probe> minimal, oneLine;       // oneLine: the minimal window with one line of text
  const std::vector<Probe>& program() const { return programs.front(); }
};

// The copy on the disk before the start, as a user's database is: left in the system's
// cache unwritten, the program's first commit (its settings row) would have to write
// the whole copy out first (about 60 ms at 1,000,000 rows).
void SyncToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    std::fprintf(stderr, "cannot sync %s\n", path.c_str());
    std::exit(1);
  }
  ::close(fd);
}

// A fresh folder with a copy of the size's database for each start: the program
// writes its settings back at exit.
Probe StartProgram(const GuiEnvironment& env, const std::string& exe, const std::string& database,
                   const ProbeSettings& settings) {
  TempFolder folder("cvu-bench-startup-run");
  std::filesystem::copy_file(database, folder.file("cvxas.common.dll"));
  SyncToDisk(folder.file("cvxas.common.dll"));
  const std::string dir = folder.path().string();
  const std::string socket = cvu::SingleInstance::serverName(QString::fromStdString(dir)).toStdString();
  return ProbeStart(env, {{exe}, dir, socket, true}, settings);
}

Probe StartMinimal(const GuiEnvironment& env, const ProbeSettings& settings, bool oneLine = false) {
  TempFolder folder("cvu-bench-startup-minimal");
  const std::string socket = env.runtimeFolder() + "/minimal-window";
  std::vector<std::string> argv = {CVU_MINIMAL_WINDOW_EXE, socket};
  if (oneLine) argv.push_back("--text");
  return ProbeStart(env, {argv, folder.path().string(), socket, false}, settings);
}

void PrintRound(int rows, int round, const SizeResult& r) {
  const Probe &p = r.program().back(), &m = r.minimal.back();
  std::printf(
      "rows %7d round %d: program %.3f s (worst stall %.3f s at %.2f s, later %.3f s; memory settled at %.1f s%s; "
      "VmRSS %.1f MiB, VmHWM %.1f MiB; %d pings)  minimal %.3f s (stall %.3f s; VmRSS %.1f MiB, VmHWM %.1f MiB)  "
      "one line %.3f s\n",
      rows, round, p.startup, p.worstStall, p.worstStallAt, p.laterStall, p.settledAt, p.settled ? "" : ", NOT settled",
      p.memory.rss / 1024.0, p.memory.hwm / 1024.0, p.pings, m.startup, m.worstStall, m.memory.rss / 1024.0,
      m.memory.hwm / 1024.0, r.oneLine.back().startup);
  for (std::size_t i = 1; i < r.programs.size(); ++i) {
    std::printf("    program %zu: %.3f s (worst stall %.3f s)\n", i + 1, r.programs[i].back().startup,
                r.programs[i].back().worstStall);
  }
  std::fflush(stdout);
}

SizeResult MeasureSize(const GuiEnvironment& env, int rows, const Options& o) {
  TempFolder dbFolder("cvu-bench-startup-db");
  const std::string database = dbFolder.file("cvxas.common.dll");
  MakeHistoryDatabase(database, rows);
  // The settings row every start after the first finds (the program writes it at its
  // first start and at each exit): the first start's extra commit is not what users wait
  // for each day.
  ExecSql(database, "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(0, 0)");
  SizeResult r;
  r.programs.resize(o.programs.size());
  const int starts = static_cast<int>(o.programs.size()) + 2;
  for (int round = 1; round <= o.rounds; ++round) {
    // Taking turns at starting first, so none always meets a warmer machine.
    for (int turn = 0; turn < starts; ++turn) {
      const int which = (round + turn) % starts;
      if (which < static_cast<int>(o.programs.size())) {
        r.programs[which].push_back(StartProgram(env, o.programs[which], database, o.probe));
      } else if (which == starts - 2) {
        r.minimal.push_back(StartMinimal(env, o.probe));
      } else {
        r.oneLine.push_back(StartMinimal(env, o.probe, true));
      }
    }
    PrintRound(rows, round, r);
  }
  return r;
}

Spread RoundRatios(const std::vector<Probe>& program, const std::vector<Probe>& reference) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < program.size() && i < reference.size(); ++i) {
    ratios.push_back(program[i].startup / reference[i].startup);
  }
  return SpreadOf(ratios);
}

void PrintSize(int rows, const SizeResult& r) {
  const auto startup = [](const Probe& p) { return p.startup; };
  const Spread p = SpreadOf(r.program(), startup), m = SpreadOf(r.minimal, startup);
  const Spread stall = SpreadOf(r.program(), [](const Probe& x) { return x.worstStall; });
  const Spread settle = SpreadOf(r.program(), [](const Probe& x) { return x.settledAt; });
  const Spread rss = SpreadOf(r.program(), [](const Probe& x) { return x.memory.rss / 1024.0; });
  const Spread hwm = SpreadOf(r.program(), [](const Probe& x) { return x.memory.hwm / 1024.0; });
  const Spread mrss = SpreadOf(r.minimal, [](const Probe& x) { return x.memory.rss / 1024.0; });
  std::printf("%d history rows, %zu rounds (median, min-max):\n", rows, r.program().size());
  std::printf("  start-up  program %.3f s (%.3f-%.3f)  minimal window %.3f s (%.3f-%.3f)  ratio %.2fx\n", p.median,
              p.min, p.max, m.median, m.min, m.max, p.median / m.median);
  const Spread t = SpreadOf(r.oneLine, startup);
  std::printf(
      "  the minimal window with one line of text %.3f s (%.3f-%.3f), %.2fx the minimal window: the price of text\n",
      t.median, t.min, t.max, t.median / m.median);
  // The three start within a second of each other in each round: a ratio per round leaves
  // out the machine's slower and faster spells, which last longer than that.
  const Spread pm = RoundRatios(r.program(), r.minimal), pt = RoundRatios(r.program(), r.oneLine);
  std::printf(
      "  paired in each round: program / minimal window %.2fx (%.2f-%.2f), program / one-line window %.2fx "
      "(%.2f-%.2f; goal <= 1.5x)\n",
      pm.median, pm.min, pm.max, pt.median, pt.min, pt.max);
  for (std::size_t i = 1; i < r.programs.size(); ++i) {
    const Spread other = SpreadOf(r.programs[i], startup), ratio = RoundRatios(r.programs[i], r.program());
    const Spread againstText = RoundRatios(r.programs[i], r.oneLine);
    std::printf(
        "  program %zu: %.3f s (%.3f-%.3f); paired with program 1 %.3fx (%.3f-%.3f); against the one-line window "
        "%.2fx (%.2f-%.2f)\n",
        i + 1, other.median, other.min, other.max, ratio.median, ratio.min, ratio.max, againstText.median,
        againstText.min, againstText.max);
  }
  std::printf("  worst stall of the program in the first seconds %.3f s (%.3f-%.3f; goal <= 0.050 s)\n", stall.median,
              stall.min, stall.max);
  std::printf(
      "  program memory settled at %.1f s (%.1f-%.1f)  VmRSS %.1f MiB (%.1f-%.1f)  VmHWM %.1f MiB (%.1f-%.1f)\n",
      settle.median, settle.min, settle.max, rss.median, rss.min, rss.max, hwm.median, hwm.min, hwm.max);
  std::printf("  minimal window VmRSS %.1f MiB (%.1f-%.1f)\n", mrss.median, mrss.min, mrss.max);
}

// Bytes per history row: (value(N) - value(0)) / N, from the medians.
void PrintPerRow(const std::map<int, SizeResult>& results) {
  const auto empty = results.find(0);
  if (empty == results.end()) return;
  const auto medianKb = [](const std::vector<Probe>& probes, bool peak) {
    return SpreadOf(probes, [peak](const Probe& x) { return double(peak ? x.memory.hwm : x.memory.rss); }).median;
  };
  for (const auto& [rows, r] : results) {
    if (rows == 0) continue;
    const double idle = (medianKb(r.program(), false) - medianKb(empty->second.program(), false)) * 1024 / rows;
    const double peak = (medianKb(r.program(), true) - medianKb(empty->second.program(), true)) * 1024 / rows;
    std::printf("%d rows: %.0f bytes per row idle (VmRSS), %.0f at the peak (VmHWM) (goal <= 160)\n", rows, idle, peak);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  try {
    const GuiEnvironment env;
    env.adopt();  // the program's socket name is taken from this process's runtime folder
    std::printf("display %s (Xvfb 1280x1024x24)\n", env.display().c_str());
    std::map<int, SizeResult> results;
    for (const int rows : o.rows) results[rows] = MeasureSize(env, rows, o);
    for (const auto& [rows, r] : results) PrintSize(rows, r);
    PrintPerRow(results);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
