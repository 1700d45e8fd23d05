// Uploads over an emulated internet link: the window (files pasted, as bench_gui_upload
// drives it) and corvane-upload send 200 files of 200 KB and 20 files of 5 MB through the
// link emulator (a 50 ms round trip, 20 Mbit/s up, 100 Mbit/s down) to the local service
// in this process; the request tap in front of the emulator times each run from the first
// upload POST to the last result page and counts the bytes of every connection. Each run
// is set against two figures taken from its own request log:
//
//   - the chain's floor: per connection (a file's upload POST, its result page's GET) one
//     round trip for the connection's set-up and one for the request, plus its bytes at the
//     link's rates; summed over the run;
//   - the link's limit: every byte sent at the upstream rate, plus one round trip.
//
// --jobs runs corvane-upload once more with --jobs N for each N of the list. --memory-files
// N uploads N sparse files of --memory-gb GB with corvane-upload (and with each --jobs) over
// the same delay at --memory-mbit, reporting the process's peak memory (VmHWM).
//
//   bench_link_upload [--rounds 1] [--rtt-ms 50] [--up-mbit 20] [--down-mbit 100]
//                     [--small 200] [--small-kb 200] [--large 20] [--large-mb 5]
//                     [--window 1] [--cli 1] [--jobs 4[,8...]] [--timeout 1800]
//                     [--memory-files 0] [--memory-gb 1] [--memory-mbit 1000]
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "command_run.h"
#include "common/version.h"
#include "gui_environment.h"
#include "history_database.h"
#include "link_emulator.h"
#include "request_tap.h"
#include "service/photo_service.h"
#include "window_run.h"

namespace {

using namespace cvu::bench;

struct Options {
  int rounds = 1;
  int rttMs = 50;
  int upMbit = 20;
  int downMbit = 100;
  int small = 200;
  int smallKb = 200;
  int large = 20;
  int largeMb = 5;
  int window = 1;
  int cli = 1;
  int timeout = 1800;  // seconds for one run
  int memoryFiles = 0;
  int memoryGb = 1;
  int memoryMbit = 1000;
  std::vector<int> jobs;
};

std::vector<int> IntList(const std::string& text) {
  std::vector<int> values;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ',');) values.push_back(std::atoi(item.c_str()));
  return values;
}

Options Parse(int argc, char** argv) {
  Options o;
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--jobs" && i + 1 < argc) {
      o.jobs = IntList(argv[++i]);
    } else {
      rest.push_back(argv[i]);
    }
  }
  ParseIntOptions(static_cast<int>(rest.size()), rest.data(),
                  {{"--rounds", &o.rounds},
                   {"--rtt-ms", &o.rttMs},
                   {"--up-mbit", &o.upMbit},
                   {"--down-mbit", &o.downMbit},
                   {"--small", &o.small},
                   {"--small-kb", &o.smallKb},
                   {"--large", &o.large},
                   {"--large-mb", &o.largeMb},
                   {"--window", &o.window},
                   {"--cli", &o.cli},
                   {"--timeout", &o.timeout},
                   {"--memory-files", &o.memoryFiles},
                   {"--memory-gb", &o.memoryGb},
                   {"--memory-mbit", &o.memoryMbit}});
  return o;
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

int PortOf(const std::string& host) {
  const auto colon = host.rfind(':');
  return colon == std::string::npos ? 80 : std::atoi(host.c_str() + colon + 1);
}

LinkSettings Link(const Options& o, int upMbit) {
  return {std::chrono::microseconds(o.rttMs * 500), double(upMbit), double(o.downMbit)};
}

struct FileSet {
  const char* name;
  int count;
  std::uint64_t bytes;
};

// What the link allows a run, from its own request log.
struct Limits {
  double floor = 0;  // the chain's requests one after another
  double link = 0;   // every byte at the upstream rate
  int connections = 0;
  int others = 0;  // requests that are neither an upload nor a result page, left out
};

Limits LimitsOf(const std::vector<Exchange>& exchanges, const LinkSettings& link) {
  Limits l;
  std::uint64_t sent = 0;
  for (const Exchange& e : exchanges) {
    if (!IsUploadPost(e) && !IsResultGet(e)) {
      ++l.others;
      continue;
    }
    sent += e.sent;
    ++l.connections;
    l.floor += 2 * link.roundTripSeconds() + double(e.sent) / link.upBytesPerSecond() +
               double(e.received) / link.downBytesPerSecond();
  }
  l.link = double(sent) / link.upBytesPerSecond() + link.roundTripSeconds();
  return l;
}

struct Result {
  double seconds = 0, floor = 0, link = 0;
};

// Each client's runs per file set, in the order they first ran, for the table at the end.
using Summary = std::vector<std::pair<std::string, std::vector<Result>>>;

std::vector<Result>& Runs(Summary& summary, const std::string& who) {
  const auto it = std::find_if(summary.begin(), summary.end(), [&who](const auto& s) { return s.first == who; });
  return it != summary.end() ? it->second : summary.emplace_back(who, std::vector<Result>{}).second;
}

void Note(Summary& summary, const std::string& who, const Measured& m, const LinkSettings& link, int files) {
  const Limits l = LimitsOf(m.exchanges, link);
  Check(m.span.posts == files && m.span.results == files, who + ": the tap saw " + std::to_string(m.span.posts) +
                                                              " posts and " + std::to_string(m.span.results) +
                                                              " result pages for " + std::to_string(files) + " files");
  std::printf("  %-32s %8.2f s  %5.2fx the chain's floor (%.2f s)  %5.2fx the link's limit (%.2f s)", who.c_str(),
              m.span.seconds, m.span.seconds / l.floor, l.floor, m.span.seconds / l.link, l.link);
  std::printf("  [%d connections%s]\n", l.connections,
              l.others ? (", " + std::to_string(l.others) + " other requests").c_str() : "");
  std::fflush(stdout);
  Runs(summary, who).push_back({m.span.seconds, l.floor, l.link});
}

Measured WindowUpload(const GuiEnvironment& env, RequestTap& tap, const std::string& database,
                      const std::vector<std::string>& files, const Options& o) {
  Measured m;
  long recorded = 0;
  {
    WindowRun window(env, database);
    window.idle(1.0);  // the version check at start goes over the link as well; not part of the run
    tap.take();
    window.paste(files);
    window.await(tap, static_cast<int>(files.size()), o.timeout);
    window.end();
    m = Measure(tap.take());
    recorded = CountRows(window.database(), "CVU_HISTORY");
  }
  Check(recorded == static_cast<long>(files.size()), "window: not every file recorded in CVU_HISTORY");
  return m;
}

// corvane-upload with the extra options; nullopt (with the reason printed) when it failed,
// e.g. an option it does not know yet.
std::optional<Measured> CommandUpload(RequestTap& tap, const std::string& database,
                                      const std::vector<std::string>& files, const std::vector<std::string>& extra,
                                      const Options& o) {
  std::vector<std::string> args = {"--host", cvu::kDefaultServiceHost};
  args.insert(args.end(), extra.begin(), extra.end());
  tap.take();
  const CommandResult run = RunUploadCommand(database, args, files, o.timeout);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the tap notes the last connection's end
  Measured m = Measure(tap.take());
  if (run.exitCode == 0 && run.recorded == static_cast<long>(files.size())) return m;
  std::string options;
  for (const std::string& e : extra) options += " " + e;
  std::printf("  corvane-upload%s failed: exit %d, %ld of %zu recorded: %s\n", options.c_str(), run.exitCode,
              run.recorded, files.size(), run.output.substr(0, run.output.find('\n')).c_str());
  return std::nullopt;
}

std::vector<std::string> MakeFiles(const TempFolder& folder, const FileSet& set) {
  std::vector<std::string> files;
  for (int i = 0; i < set.count; ++i) {
    files.push_back(folder.file(std::string(set.name) + "_" + std::to_string(i) + ".png"));
    WriteFile(files.back(), set.bytes);
  }
  return files;
}

struct Bench {
  const Options& o;
  LinkSettings link;
  const GuiEnvironment* env;  // null without the window
  RequestTap& tap;
  const std::string& database;
  const TempFolder& data;  // the service's, emptied after every run
};

void RunSet(const Bench& b, const FileSet& set, Summary& summary) {
  TempFolder folder("cvu-bench-link-files");
  const std::vector<std::string> files = MakeFiles(folder, set);
  const auto label = [&set](const std::string& who) { return std::string(set.name) + ": " + who; };
  for (int r = 0; r < b.o.rounds; ++r) {
    std::printf("%d files of %.0f KB, round %d:\n", set.count, double(set.bytes) / 1024, r + 1);
    if (b.env) {
      Note(summary, label("window"), WindowUpload(*b.env, b.tap, b.database, files, b.o), b.link, set.count);
      b.data.removeFiles();
    }
    std::vector<std::vector<std::string>> variants;
    if (b.o.cli) variants.push_back({});
    for (const int n : b.o.jobs) variants.push_back({"--jobs", std::to_string(n)});
    for (const auto& extra : variants) {
      const auto m = CommandUpload(b.tap, b.database, files, extra, b.o);
      const std::string who = extra.empty() ? "corvane-upload" : "corvane-upload --jobs " + extra[1];
      if (m) Note(summary, label(who), *m, b.link, set.count);
      b.data.removeFiles();
    }
  }
}

void PrintSummary(const Summary& summary) {
  if (summary.empty()) return;
  std::printf(
      "\nmedians over the rounds:\n| run | seconds | the chain's floor | the link's limit |\n|---|---:|---:|---:|\n");
  for (const auto& [who, results] : summary) {
    std::vector<double> seconds, floor, link;
    for (const Result& r : results) {
      seconds.push_back(r.seconds);
      floor.push_back(r.seconds / r.floor);
      link.push_back(r.seconds / r.link);
    }
    std::printf("| %s | %.2f s | %.2fx (%.2f s) | %.2fx (%.2f s) |\n", who.c_str(), Median(seconds), Median(floor),
                results.front().floor, Median(link), results.front().link);
  }
}

// Peak memory of corvane-upload sending large files, straight to the emulator at a rate that
// keeps the run short; against its peak for one tiny file.
void Memory(const Options& o, int servicePort, const std::string& database, const TempFolder& data) {
  const LinkEmulator fast(servicePort, Link(o, o.memoryMbit));
  const std::vector<std::string> host = {"--host", "127.0.0.1:" + std::to_string(fast.port())};
  TempFolder folder("cvu-bench-link-memory");
  std::vector<std::string> large;
  for (int i = 0; i < o.memoryFiles; ++i) {
    large.push_back(folder.file("large_" + std::to_string(i) + ".png"));
    std::ofstream(large.back()).close();
    std::filesystem::resize_file(large.back(), std::uint64_t(o.memoryGb) << 30);  // sparse: no disk taken
  }
  const std::string tiny = folder.file("tiny.png");
  WriteFile(tiny, 1024);
  std::printf("\npeak memory of corvane-upload (VmHWM), %d ms round trip, %d Mbit/s up:\n", o.rttMs, o.memoryMbit);
  std::vector<std::vector<std::string>> variants = {{}};
  for (const int n : o.jobs) variants.push_back({"--jobs", std::to_string(n)});
  for (const auto& extra : variants) {
    std::vector<std::string> args = host;
    args.insert(args.end(), extra.begin(), extra.end());
    const CommandResult idle = RunUploadCommand(database, args, {tiny}, o.timeout);
    data.removeFiles();
    const CommandResult run = RunUploadCommand(database, args, large, o.timeout);
    data.removeFiles();
    const std::string who = extra.empty() ? "" : extra[0] + " " + extra[1];
    if (idle.exitCode != 0 || run.exitCode != 0) {
      std::printf("  corvane-upload %-10s failed: exit %d: %s\n", who.c_str(), run.exitCode,
                  run.output.substr(0, run.output.find('\n')).c_str());
      continue;
    }
    std::printf("  corvane-upload %-10s one 1 KB file %6.1f MB; %d x %d GB %6.1f MB (%+.1f MB), %.1f s\n", who.c_str(),
                idle.peakKb / 1024.0, o.memoryFiles, o.memoryGb, run.peakKb / 1024.0,
                (run.peakKb - idle.peakKb) / 1024.0, run.seconds);
  }
}

int Run(int& argc, char** argv, const Options& o) {
  std::optional<GuiEnvironment> env;
  std::optional<QGuiApplication> app;
  if (o.window) {
    env.emplace();
    env->adopt();  // this process's Qt (the clipboard) on the same display
    app.emplace(argc, argv);
  }
  TempFolder data("cvu-bench-link-data");
  cvu::service::PhotoService service({data.path(), "5.8"});
  const int servicePort = service.start(0);
  Check(servicePort > 0, "the service did not start");
  const LinkSettings link = Link(o, o.upMbit);
  const LinkEmulator emulator(servicePort, link);
  RequestTap tap(PortOf(cvu::kDefaultServiceHost), emulator.port());
  TempFolder dbFolder("cvu-bench-link-db");
  const std::string database = dbFolder.file("cvxas.common.dll");
  MakeAutoUploadDatabase(database);
  std::printf("link: %d ms round trip, %d Mbit/s up, %d Mbit/s down; service host %s\n", o.rttMs, o.upMbit, o.downMbit,
              cvu::kDefaultServiceHost);
  const Bench bench{o, link, env ? &*env : nullptr, tap, database, data};
  Summary summary;
  for (const FileSet& set : {FileSet{"small", o.small, std::uint64_t(o.smallKb) << 10},
                             FileSet{"large", o.large, std::uint64_t(o.largeMb) << 20}}) {
    if (set.count > 0) RunSet(bench, set, summary);
  }
  PrintSummary(summary);
  if (o.memoryFiles > 0) Memory(o, servicePort, database, data);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  try {
    int qtArgc = 1;  // Qt sees none of the benchmark's options
    return Run(qtArgc, argv, o);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "failed: %s\n", e.what());
    return 1;
  }
}
