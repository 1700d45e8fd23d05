// A whole upload run of the real program as a process on a private X display (Xvfb):
// 200 files of 200 KB put on the clipboard as a file list by this benchmark (a Qt
// program on the same display), Ctrl+V pressed in the program's window through XTest,
// and the program uploading at once (its settings start an upload when files are
// added). The service is PhotoService in this process behind a tap on the program's
// built-in host port, which times the run from the first upload POST to the last result
// page's answer. Beside it, alternating, the libcurl loop making the same 400 requests
// through the same tap. Every file must be recorded in CVU_HISTORY. Goal: at most 1.5x
// the libcurl loop.
//
// After each round the command-line uploader does the same run through the same tap
// (--cli 0 leaves it out).
//
//   bench_gui_upload [--rounds 3] [--files 200] [--kb 200] [--timeout 300] [--cli 1]
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "bench_support.h"
#include "command_run.h"
#include "common/version.h"
#include "curl_upload_loop.h"
#include "gui_environment.h"
#include "headless/headless_windows.h"
#include "history_database.h"
#include "request_tap.h"
#include "service/photo_service.h"
#include "upload/upload_options.h"
#include "window_run.h"

namespace {

using namespace cvu::bench;

struct Options {
  int rounds = 3;
  int files = 200;
  int kb = 200;
  int timeout = 300;  // seconds for one run of the program
  int cli = 1;        // also the command-line uploader, after each round
};

Options Parse(int argc, char** argv) {
  Options o;
  const std::map<std::string, int*> names = {
      {"--rounds", &o.rounds}, {"--files", &o.files}, {"--kb", &o.kb}, {"--timeout", &o.timeout}, {"--cli", &o.cli}};
  ParseIntOptions(argc, argv, names);
  return o;
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

int PortOf(const std::string& host) {
  const auto colon = host.rfind(':');
  return colon == std::string::npos ? 80 : std::atoi(host.c_str() + colon + 1);
}

void PrintPhases(const char* who, const RunPhases& p) {
  std::printf(
      "    %-14s per file (medians): POST %.2f ms, to its page's GET %.2f ms, GET %.2f ms, to the next POST %.2f ms\n",
      who, p.post * 1000, p.postToGet * 1000, p.get * 1000, p.getToNextPost * 1000);
}

Measured ProgramRun(const GuiEnvironment& env, RequestTap& tap, const std::string& database,
                    const std::vector<std::string>& files, const Options& o) {
  Measured m;
  long recorded = 0;
  {
    WindowRun window(env, database);
    tap.take();  // what the program asked at start (the version check) is not part of the run
    window.paste(files);
    window.await(tap, o.files, o.timeout);
    window.end();
    m = Measure(tap.take());
    recorded = CountRows(window.database(), "CVU_HISTORY");
  }
  const RunSpan& span = m.span;
  Check(span.posts == o.files && span.results == o.files, "program: " + std::to_string(span.posts) + " posts and " +
                                                              std::to_string(span.results) + " result pages for " +
                                                              std::to_string(o.files) + " files");
  Check(recorded == o.files, "program: " + std::to_string(recorded) + " rows recorded in CVU_HISTORY for " +
                                 std::to_string(o.files) + " files");
  return m;
}

// The command-line uploader on a copy of the same database, the files on its command line.
Measured CliRun(RequestTap& tap, const std::string& database, const std::vector<std::string>& files, const Options& o) {
  tap.take();
  const CommandResult run = RunUploadCommand(database, {"--host", cvu::kDefaultServiceHost}, files, o.timeout);
  Check(run.exitCode == 0, "corvane-upload did not upload and record every file (exit status not 0)");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the tap notes the last connection's end
  const Measured m = Measure(tap.take());
  const auto n = static_cast<long>(files.size());
  Check(m.span.posts == n && m.span.results == n, "corvane-upload: the tap saw " + std::to_string(m.span.posts) +
                                                      " posts and " + std::to_string(m.span.results) + " result pages");
  Check(run.recorded == n, "corvane-upload: not every file recorded in CVU_HISTORY");
  return m;
}

Measured CurlRun(RequestTap& tap, const std::vector<std::string>& files) {
  cvu::HeadlessUpOptions window;
  cvu::ResetUploadOptions(window);
  tap.take();
  const CurlLoopCounts counts = CurlUploadLoop(cvu::kDefaultServiceHost, cvu::ReadUploadOptions(window), files);
  const auto n = static_cast<int>(files.size());
  Check(counts.accepted == n && counts.pages == n, "libcurl loop: every post accepted, every page read");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the tap notes the last connection's end
  const Measured m = Measure(tap.take());
  const RunSpan& span = m.span;
  Check(span.posts == n && span.results == n, "libcurl loop: the tap saw " + std::to_string(span.posts) +
                                                  " posts and " + std::to_string(span.results) + " result pages");
  return m;
}

std::vector<std::string> MakeFiles(const TempFolder& folder, const Options& o) {
  std::vector<std::string> files;
  for (int i = 0; i < o.files; ++i) {
    files.push_back(folder.file("img_" + std::to_string(i) + ".png"));
    WriteFile(files.back(), static_cast<std::uint64_t>(o.kb) * 1024);
  }
  return files;
}

void Report(const std::vector<double>& program, const std::vector<double>& curl, const std::vector<double>& cli,
            const Options& o) {
  const auto spread = [](const std::vector<double>& v) {
    const auto [low, high] = std::minmax_element(v.begin(), v.end());
    return std::make_tuple(Median(v), *low, *high);
  };
  const auto [p, pLow, pHigh] = spread(program);
  const auto [c, cLow, cHigh] = spread(curl);
  std::printf("%d files of %d KB, %zu rounds, first upload POST to the last result page (median, min-max):\n", o.files,
              o.kb, program.size());
  std::printf("  libcurl loop (%d requests)  %.3f s (%.3f-%.3f)  %.2f ms per file\n", 2 * o.files, c, cLow, cHigh,
              c * 1000 / o.files);
  std::printf(
      "  program (GUI process)       %.3f s (%.3f-%.3f)  %.2f ms per file  %.2fx the libcurl loop (goal <= 1.5x)\n", p,
      pLow, pHigh, p * 1000 / o.files, p / c);
  if (cli.empty()) return;
  const auto [l, lLow, lHigh] = spread(cli);
  std::printf("  corvane-upload process      %.3f s (%.3f-%.3f)  %.2f ms per file  %.2fx the libcurl loop\n", l, lLow,
              lHigh, l * 1000 / o.files, l / c);
}

int Run(int argc, char** argv, const Options& o) {
  const GuiEnvironment env;
  env.adopt();  // this process's Qt (the clipboard) on the same display; the program's socket name
  QGuiApplication app(argc, argv);
  TempFolder data("cvu-bench-gui-upload-data");
  cvu::service::PhotoService service({data.path(), "5.8"});
  const int servicePort = service.start(0);
  Check(servicePort > 0, "the service did not start");
  RequestTap tap(PortOf(cvu::kDefaultServiceHost), servicePort);
  TempFolder filesFolder("cvu-bench-gui-upload-files");
  const std::vector<std::string> files = MakeFiles(filesFolder, o);
  TempFolder dbFolder("cvu-bench-gui-upload-db");
  const std::string database = dbFolder.file("cvxas.common.dll");
  MakeAutoUploadDatabase(database);
  std::printf("display %s (Xvfb), service host %s\n", env.display().c_str(), cvu::kDefaultServiceHost);
  std::vector<double> program, curl, cli;
  for (int r = 0; r < o.rounds; ++r) {
    Measured curlRun, programRun;
    // Alternating which goes first, so neither always meets a warmer machine.
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == (r % 2 == 0)) {
        curlRun = CurlRun(tap, files);
        curl.push_back(curlRun.span.seconds);
      } else {
        programRun = ProgramRun(env, tap, database, files, o);
        program.push_back(programRun.span.seconds);
      }
      data.removeFiles();
    }
    std::printf("round %d: libcurl loop %.3f s, program %.3f s (%.2fx)\n", r + 1, curl.back(), program.back(),
                program.back() / curl.back());
    PrintPhases("libcurl loop", curlRun.phases);
    PrintPhases("program", programRun.phases);
    if (o.cli) {
      const Measured cliRun = CliRun(tap, database, files, o);
      data.removeFiles();
      cli.push_back(cliRun.span.seconds);
      std::printf("  corvane-upload %.3f s (%.2fx)\n", cli.back(), cli.back() / curl.back());
      PrintPhases("corvane-upload", cliRun.phases);
    }
    std::fflush(stdout);
  }
  Report(program, curl, cli, o);
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
