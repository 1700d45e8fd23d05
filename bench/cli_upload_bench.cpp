// corvane-upload as a user runs it (a fresh process: start, settings, history, the
// upload worker, a record per file, a page link per line on standard output) against
// the local photo-hosting service in this process, beside the plain libcurl loop of
// bench_upload_run making the same 2 requests per file; then the command's peak memory
// for a large file against its peak for a tiny one and for --version.
//
//   bench_cli_upload [--rounds N] [--files N] [--kb N] [--mb N]
//   (defaults: 5 rounds, 200 files of 200 KB, a 1024 MB file)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/identity.h"
#include "curl_upload_loop.h"
#include "headless/headless_windows.h"
#include "service/photo_service.h"
#include "upload/upload_options.h"

namespace {

using namespace cvu::bench;

struct Options {
  int rounds = 5;
  int files = 200;
  int kb = 200;
  int mb = 1024;
};

Options Parse(int argc, char** argv) {
  Options o;
  const std::map<std::string, int*> names = {
      {"--rounds", &o.rounds}, {"--files", &o.files}, {"--kb", &o.kb}, {"--mb", &o.mb}};
  ParseIntOptions(argc, argv, names);
  return o;
}

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::fprintf(stderr, "failed: %s\n", what.c_str());
  std::exit(1);
}

std::size_t LineCount(const std::string& text) {
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n';
  return lines;
}

// The command with its standard error (the activity log) written to a file, as
// `corvane-upload ... 2> log` does.
ChildRun RunCommand(const std::vector<std::string>& args, const std::string& log) {
  std::vector<std::string> argv = {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>\"" + log + "\"", CVU_UPLOAD_EXE};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv);
}

// A fresh copy of the supplied database for every run, so each starts alike.
std::string FreshDatabase(const TempFolder& folder) {
  const std::string path = folder.file("cvxas.common.dll");
  std::filesystem::remove(path);
  std::filesystem::copy_file(CVU_BENCH_SUPPLIED_DB, path);
  return path;
}

double CommandRun(const std::string& host, const std::vector<std::string>& files, const TempFolder& work) {
  std::vector<std::string> args = {"--host", host, "--database", FreshDatabase(work)};
  args.insert(args.end(), files.begin(), files.end());
  const ChildRun run = RunCommand(args, work.file("log.txt"));
  Check(run.exitCode == 0,
        "corvane-upload: every file uploaded and recorded (exit " + std::to_string(run.exitCode) + ")");
  Check(LineCount(run.output) == files.size(), "corvane-upload: one link per file");
  return run.seconds;
}

double CurlRun(const std::string& host, const std::vector<std::string>& files) {
  cvu::HeadlessUpOptions window;
  cvu::ResetUploadOptions(window);  // the values the command sends without options
  const auto start = SteadyClock::now();
  const CurlLoopCounts counts = CurlUploadLoop(host, cvu::ReadUploadOptions(window), files);
  const double seconds = SecondsSince(start);
  const auto n = static_cast<int>(files.size());
  Check(counts.accepted == n && counts.pages == n, "libcurl loop: every post accepted, every page read");
  return seconds;
}

void Speed(const Options& o, const std::string& host, const TempFolder& data) {
  TempFolder folder("cvu-bench-cli-files");
  TempFolder work("cvu-bench-cli-work");
  std::vector<std::string> files;
  for (int i = 0; i < o.files; ++i) {
    files.push_back(folder.file("img_" + std::to_string(i) + ".png"));
    WriteFile(files.back(), static_cast<std::uint64_t>(o.kb) * 1024);
  }
  std::vector<double> command, curl;
  for (int r = 0; r < o.rounds; ++r) {
    // Alternating which goes first, so neither always meets a warmer machine.
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == (r % 2 == 0)) {
        curl.push_back(CurlRun(host, files));
      } else {
        command.push_back(CommandRun(host, files, work));
      }
      data.removeFiles();
    }
    std::printf("round %d: libcurl loop %.3f s, corvane-upload %.3f s (%.2fx)\n", r + 1, curl.back(), command.back(),
                command.back() / curl.back());
  }
  const double c = Median(curl), p = Median(command);
  std::printf("%d files of %d KB, medians of %d rounds:\n", o.files, o.kb, o.rounds);
  std::printf("  libcurl loop (%d requests)  %8.3f s  %7.2f ms per file\n", 2 * o.files, c, c * 1000 / o.files);
  std::printf("  corvane-upload process      %8.3f s  %7.2f ms per file  (%.2fx the libcurl loop)\n", p,
              p * 1000 / o.files, p / c);
}

long PeakKb(const std::string& host, const std::vector<std::string>& args, const TempFolder& work) {
  std::vector<std::string> all = {"--host", host, "--database", FreshDatabase(work)};
  all.insert(all.end(), args.begin(), args.end());
  const ChildRun run = RunCommand(all, work.file("log.txt"));
  Check(run.exitCode == 0, "corvane-upload exited 0 for " + args.back());
  return run.maxRssKb;
}

void Memory(const Options& o, const std::string& host, const TempFolder& data) {
  TempFolder work("cvu-bench-cli-memory");
  const std::string tiny = work.file("tiny.png"), large = work.file("large.png");
  WriteFile(tiny, 1024);
  WriteFile(large, static_cast<std::uint64_t>(o.mb) * 1024 * 1024);
  const long version = PeakKb(host, {"--version"}, work);
  const long idle = PeakKb(host, {tiny}, work);
  data.removeFiles();
  const auto start = SteadyClock::now();
  const long peak = PeakKb(host, {large}, work);
  const double seconds = SecondsSince(start);
  data.removeFiles();
  std::printf("peak memory of the corvane-upload process (VmHWM at exit, from wait4's ru_maxrss):\n");
  std::printf("  --version only            %8.1f MB\n", version / 1024.0);
  std::printf("  one 1 KB file (idle)      %8.1f MB\n", idle / 1024.0);
  std::printf("  one %d MB file            %8.1f MB  (%+.1f MB against idle; %.2f s, %.0f MB/s)\n", o.mb, peak / 1024.0,
              (peak - idle) / 1024.0, seconds, o.mb / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  TempFolder data("cvu-bench-cli-data");
  cvu::service::PhotoService service({data.path(), "5.8"});
  const std::string host = "127.0.0.1:" + std::to_string(service.start(0));
  Speed(o, host, data);
  if (o.mb > 0) Memory(o, host, data);
  return 0;
}
