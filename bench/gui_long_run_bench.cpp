// A long upload run through the real window: 30,000 files in one group (pasted at once, as
// bench_gui_upload pastes its 200) to the local service in this process on loopback, through
// the request tap on the program's built-in host port. Reports the time per file over the
// first hundred files, around the 10,000th and 20,000th and over the last hundred (from the
// result pages' answers in the tap's log), and the window's memory per file of the run: its
// VmRSS after the run less its VmRSS before the paste, over the files. While it runs a line
// every --every files shows how far it got. The files are hard links of one small image.
// --program runs another build of the window (e.g. one from before a change) instead.
//
//   bench_gui_long_run [--files 30000] [--bytes 300] [--every 1000] [--timeout 3600] [--program PATH]
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/version.h"
#include "gui_environment.h"
#include "history_database.h"
#include "proc_status.h"
#include "request_tap.h"
#include "service/photo_service.h"
#include "window_run.h"

namespace {

using namespace cvu::bench;
using Clock = std::chrono::steady_clock;

struct Options {
  int files = 30000;
  int bytes = 300;
  int every = 1000;
  int timeout = 3600;
  std::string program = BuiltProgram();
};

Options Parse(int argc, char** argv) {
  Options o;
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--program" && i + 1 < argc) {
      o.program = argv[++i];
    } else {
      rest.push_back(argv[i]);
    }
  }
  ParseIntOptions(static_cast<int>(rest.size()), rest.data(),
                  {{"--files", &o.files}, {"--bytes", &o.bytes}, {"--every", &o.every}, {"--timeout", &o.timeout}});
  return o;
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

int PortOf(const std::string& host) {
  const auto colon = host.rfind(':');
  return colon == std::string::npos ? 80 : std::atoi(host.c_str() + colon + 1);
}

std::vector<std::string> MakeFiles(const TempFolder& folder, const Options& o) {
  const std::string image = folder.file("image.png");
  WriteFile(image, static_cast<std::uint64_t>(o.bytes));
  std::vector<std::string> files;
  for (int i = 0; i < o.files; ++i) {
    files.push_back(folder.file("img_" + std::to_string(i) + ".png"));
    std::filesystem::create_hard_link(image, files.back());
  }
  return files;
}

// A line every `every` result pages while the run goes on.
class Progress {
 public:
  Progress(RequestTap& tap, pid_t pid, int every) : tap_(tap), pid_(pid), every_(every) {}
  void operator()() {
    const int pages = tap_.resultGets();
    if (pages < shown_ + every_) return;
    const auto now = Clock::now();
    const long rss = ReadMemory(pid_).rss;
    lines_.emplace_back(pages, rss);
    std::printf("  %6d files  %7.1f s  %6.2f ms per file since the last line  VmRSS %.1f MiB\n", pages,
                std::chrono::duration<double>(now - start_).count(),
                std::chrono::duration<double>(now - last_).count() * 1000 / (pages - shown_), rss / 1024.0);
    std::fflush(stdout);
    shown_ = pages;
    last_ = now;
  }
  // VmRSS growth per file from the first line to the last: the run's growth without what the
  // paste itself took (the whole list at once).
  double slope() const {
    return lines_.size() < 2 ? 0
                             : double(lines_.back().second - lines_.front().second) * 1024 /
                                   (lines_.back().first - lines_.front().first);
  }

 private:
  RequestTap& tap_;
  pid_t pid_;
  int every_;
  int shown_ = 0;
  std::vector<std::pair<int, long>> lines_;  // files and VmRSS in kB at each line
  Clock::time_point start_ = Clock::now(), last_ = start_;
};

// Milliseconds per file over the hundred result pages that end at `end` (the first hundred
// from the first upload's first byte).
double PerFile(const std::vector<Clock::time_point>& pages, Clock::time_point first, std::size_t end) {
  end = std::clamp<std::size_t>(end, 100, pages.size());
  const Clock::time_point from = end == 100 ? first : pages[end - 101];
  return std::chrono::duration<double>(pages[end - 1] - from).count() * 1000 / 100;
}

void Report(const Measured& m, const MemoryKb& before, const MemoryKb& after, double slope, const Options& o) {
  std::vector<Clock::time_point> pages;
  Clock::time_point first = Clock::time_point::max();
  for (const Exchange& e : m.exchanges) {
    if (IsResultGet(e)) pages.push_back(e.lastReply);
    if (IsUploadPost(e)) first = std::min(first, e.firstByte);
  }
  std::sort(pages.begin(), pages.end());
  std::printf("%d files of %d bytes in one group: %.1f s, first upload POST to the last result page\n", o.files,
              o.bytes, m.span.seconds);
  std::printf("  time per file: first hundred %.2f ms", PerFile(pages, first, 100));
  for (const int at : {10000, 20000}) {
    if (at + 50 < o.files) std::printf(", around %d %.2f ms", at, PerFile(pages, first, std::size_t(at) + 50));
  }
  std::printf(", last hundred %.2f ms\n", PerFile(pages, first, pages.size()));
  std::printf(
      "  window's memory: VmRSS %.1f MiB before the paste, %.1f MiB after the run (VmHWM %.1f MiB): %.0f bytes"
      " per file\n",
      before.rss / 1024.0, after.rss / 1024.0, after.hwm / 1024.0, double(after.rss - before.rss) * 1024 / o.files);
  std::printf("  from the first progress line to the last: %.0f bytes per file\n", slope);
}

int Run(int& argc, char** argv, const Options& o) {
  const GuiEnvironment env;
  env.adopt();  // this process's Qt (the clipboard) on the same display
  QGuiApplication app(argc, argv);
  TempFolder data("cvu-bench-long-run-data");
  cvu::service::PhotoService service({data.path(), "5.8"});
  const int servicePort = service.start(0);
  Check(servicePort > 0, "the service did not start");
  RequestTap tap(PortOf(cvu::kDefaultServiceHost), servicePort);
  TempFolder filesFolder("cvu-bench-long-run-files");
  const std::vector<std::string> files = MakeFiles(filesFolder, o);
  TempFolder dbFolder("cvu-bench-long-run-db");
  const std::string database = dbFolder.file("cvxas.common.dll");
  MakeAutoUploadDatabase(database);
  std::printf("display %s (Xvfb), service host %s, %d files, %s\n", env.display().c_str(), cvu::kDefaultServiceHost,
              o.files, o.program.c_str());
  WindowRun window(env, database, o.program);
  window.idle(0.5);
  tap.take();  // the version check at start is not part of the run
  const MemoryKb before = ReadMemory(window.pid());
  window.paste(files);
  Progress progress(tap, window.pid(), o.every);
  window.await(tap, o.files, o.timeout, std::ref(progress));
  window.idle(1.0);
  const MemoryKb after = ReadMemory(window.pid());
  window.end();
  const Measured m = Measure(tap.take());
  Check(m.span.posts == o.files && m.span.results == o.files,
        "the tap saw " + std::to_string(m.span.posts) + " posts and " + std::to_string(m.span.results) +
            " result pages for " + std::to_string(o.files) + " files");
  Check(CountRows(window.database(), "CVU_HISTORY") == o.files, "not every file recorded in CVU_HISTORY");
  Report(m, before, after, progress.slope(), o);
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
