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
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/single_instance.h"
#include "bench_support.h"
#include "child_process.h"
#include "common/version.h"
#include "curl_upload_loop.h"
#include "gui_environment.h"
#include "headless/headless_windows.h"
#include "history_database.h"
#include "paste_keys.h"
#include "ping_client.h"
#include "request_tap.h"
#include "service/photo_service.h"
#include "upload/upload_options.h"
#include "x_display.h"

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

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int PortOf(const std::string& host) {
  const auto colon = host.rfind(':');
  return colon == std::string::npos ? 80 : std::atoi(host.c_str() + colon + 1);
}

// Lets Qt answer the program's clipboard requests for up to 10 ms, sleeping while none
// come: a loop of plain processEvents() would keep one of the machine's two cores busy
// for the whole run, which the program then lacks and the libcurl loop does not.
void ServeEventsBriefly() {
  QEventLoop loop;
  QTimer::singleShot(10, &loop, &QEventLoop::quit);
  loop.exec();
}

void ProcessEventsFor(double seconds) {
  const auto start = std::chrono::steady_clock::now();
  while (Since(start) < seconds) ServeEventsBriefly();
}

void PutFilesOnClipboard(const std::vector<std::string>& files) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const std::string& f : files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(f)));
  mime->setUrls(urls);                                        // text/uri-list, as a file manager's copy
  QGuiApplication::clipboard()->setMimeData(mime.release());  // the clipboard owns it
  ProcessEventsFor(0.2);
}

// The program's main window once it is mapped and answers.
XWindow AwaitWindow(MapWatch& watch, ChildProcess& child, const std::string& socket) {
  while (Since(child.started()) < 60) {
    QGuiApplication::processEvents();
    Check(child.running(), "the program ended while starting");
    const auto window = watch.mapped(child.pid());
    if (window && Ping(socket, 30000)) return *window;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  throw std::runtime_error("the program's window did not answer within 60 s");
}

// Waits for every result page, then until the program answers again with nothing more
// to send, so its last record is written before it is ended.
void AwaitRun(RequestTap& tap, ChildProcess& child, const std::string& socket, const Options& o) {
  const auto pasted = std::chrono::steady_clock::now();
  while (tap.resultGets() < o.files) {
    ServeEventsBriefly();
    Check(child.running(), "the program ended during the run");
    Check(Since(pasted) < o.timeout, "the run did not end within " + std::to_string(o.timeout) + " s (" +
                                         std::to_string(tap.resultGets()) + " result pages fetched)");
  }
  ProcessEventsFor(1.0);
  Check(Ping(socket, 30000).has_value(), "the program did not answer after the run");
}

struct Measured {
  RunSpan span;
  RunPhases phases;
};

void PrintPhases(const char* who, const RunPhases& p) {
  std::printf(
      "    %-14s per file (medians): POST %.2f ms, to its page's GET %.2f ms, GET %.2f ms, to the next POST %.2f ms\n",
      who, p.post * 1000, p.postToGet * 1000, p.get * 1000, p.getToNextPost * 1000);
}

Measured Measure(std::vector<Exchange> exchanges) {
  const RunSpan span = SpanOf(exchanges);
  return {span, PhasesOf(std::move(exchanges))};
}

Measured ProgramRun(const GuiEnvironment& env, RequestTap& tap, const std::string& database,
                    const std::vector<std::string>& files, const Options& o) {
  TempFolder folder("cvu-bench-gui-upload-run");
  const std::string db = folder.file("cvxas.common.dll");
  std::filesystem::copy_file(database, db);
  const std::string dir = folder.path().string();
  const std::string socket = cvu::SingleInstance::serverName(QString::fromStdString(dir)).toStdString();
  MapWatch watch(env.display());
  Measured m;
  {
    ChildProcess child({{CVU_GUI_EXE}, dir, env.variables(), folder.file("output.txt"), -1});
    const XWindow window = AwaitWindow(watch, child, socket);
    tap.take();  // what the program asked at start (the version check) is not part of the run
    PutFilesOnClipboard(files);
    PressCtrlV(watch.display(), window);
    AwaitRun(tap, child, socket, o);
    Check(child.terminate() == 0, "the program did not end cleanly on SIGTERM");
    m = Measure(tap.take());
  }
  const RunSpan& span = m.span;
  const long recorded = CountRows(db, "CVU_HISTORY");
  Check(span.posts == o.files && span.results == o.files, "program: " + std::to_string(span.posts) + " posts and " +
                                                              std::to_string(span.results) + " result pages for " +
                                                              std::to_string(o.files) + " files");
  Check(recorded == o.files, "program: " + std::to_string(recorded) + " rows recorded in CVU_HISTORY for " +
                                 std::to_string(o.files) + " files");
  return m;
}

// The command-line uploader on a copy of the same database, the files on its command line.
Measured CliRun(RequestTap& tap, const std::string& database, const std::vector<std::string>& files, const Options& o) {
  TempFolder folder("cvu-bench-gui-upload-cli");
  const std::string db = folder.file("cvxas.common.dll");
  std::filesystem::copy_file(database, db);
  std::vector<std::string> argv = {CVU_UPLOAD_EXE, "--host", cvu::kDefaultServiceHost, "--database", db};
  argv.insert(argv.end(), files.begin(), files.end());
  tap.take();
  Measured m;
  {
    ChildProcess child({argv, folder.path().string(), {}, folder.file("output.txt"), -1});
    while (child.running()) {
      Check(Since(child.started()) < o.timeout,
            "corvane-upload did not end within " + std::to_string(o.timeout) + " s");
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    Check(child.terminate() == 0, "corvane-upload did not upload and record every file (exit status not 0)");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the tap notes the last connection's end
    m = Measure(tap.take());
  }
  const auto n = static_cast<long>(files.size());
  Check(m.span.posts == n && m.span.results == n, "corvane-upload: the tap saw " + std::to_string(m.span.posts) +
                                                      " posts and " + std::to_string(m.span.results) + " result pages");
  Check(CountRows(db, "CVU_HISTORY") == n, "corvane-upload: not every file recorded in CVU_HISTORY");
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

// An empty history and the settings that start an upload as soon as files are added.
void MakeAutoUploadDatabase(const std::string& path) {
  MakeHistoryDatabase(path, 0);
  ExecSql(path, "INSERT INTO CVU_DATA(wPosLeft, wPosTop, auto_upload, start_autoupload) VALUES(0, 0, 1, 1)");
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
