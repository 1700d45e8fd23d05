// Whole upload runs of many small files against the local photo-hosting service
// in-process: the program (CVU_UploadBtnClick on a headless program: post, result page,
// history row, view refresh) beside a plain libcurl loop making the same requests; the
// same run over a long history; and AddHistoryRecord timed alone.
//
//   bench_upload_run [--rounds N] [--files N] [--kb N] [--history ROWS] [--direct N]
//   (defaults: 3 rounds, 200 files of 200 KB, 100000 history rows, 200 direct records)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_program.h"
#include "common/identity.h"
#include "curl_upload_loop.h"
#include "http/http_client.h"
#include "http/session.h"
#include "service/photo_service.h"
#include "store/history_store.h"
#include "upload/fetch_upload_result.h"
#include "upload/upload_options.h"

namespace {

using namespace cvu::bench;

struct Options {
  int rounds = 3;
  int files = 200;
  int kb = 200;
  int history = 100000;
  int direct = 200;
};

Options Parse(int argc, char** argv) {
  Options o;
  const std::map<std::string, int*> names = {{"--rounds", &o.rounds},
                                             {"--files", &o.files},
                                             {"--kb", &o.kb},
                                             {"--history", &o.history},
                                             {"--direct", &o.direct}};
  ParseIntOptions(argc, argv, names);
  return o;
}

std::vector<std::string> MakeFiles(const TempFolder& folder, int count, int kb) {
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) {
    files.push_back(folder.file("img_" + std::to_string(i) + ".png"));
    WriteFile(files.back(), static_cast<std::uint64_t>(kb) * 1024);
  }
  return files;
}

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::fprintf(stderr, "failed: %s\n", what.c_str());
  std::exit(1);
}

// One program run; the program's start (settings, history load) is not timed.
double ProgramRun(const std::vector<std::string>& files, int historyRows) {
  BenchProgram program(CVU_BENCH_SUPPLIED_DB, historyRows);
  const auto start = SteadyClock::now();
  Check(program.upload(files), "the upload run did not end");
  const double seconds = SecondsSince(start);
  const auto n = static_cast<int>(files.size());
  Check(program.ctx.history.RunHistory.count() == n, "run history holds every image");
  Check(program.ctx.history.FullHistory.count() == historyRows + n, "full history holds every row");
  return seconds;
}

double CurlRun(const std::string& host, const std::vector<std::string>& files) {
  BenchProgram program(CVU_BENCH_SUPPLIED_DB, 0);  // only for the form values it sends
  const cvu::UploadOptionValues values = cvu::ReadUploadOptions(program.options);
  const auto start = SteadyClock::now();
  const CurlLoopCounts counts = CurlUploadLoop(host, values, files);
  const double seconds = SecondsSince(start);
  const auto n = static_cast<int>(files.size());
  Check(counts.accepted == n && counts.pages == n, "libcurl loop: every post accepted, every page read");
  return seconds;
}

// The same requests through the program's HTTP client alone (a fresh client per
// request, as the worker makes them), without threads, log or history.
double ClientRun(const std::string& host, const std::vector<std::string>& files) {
  BenchProgram program(CVU_BENCH_SUPPLIED_DB, 0);
  const cvu::UploadOptionValues o = cvu::ReadUploadOptions(program.options);
  int pages = 0;
  const auto start = SteadyClock::now();
  for (const auto& file : files) {
    cvu::MultipartForm form;
    for (const auto& [name, value] : {std::pair{"quality", o.quality},
                                      {"filter", o.filter},
                                      {"thumbtext", o.thumbtext},
                                      {"title", o.title},
                                      {"album_id", o.album_id},
                                      {"nod", o.nod},
                                      {"published", o.published}}) {
      form.addText(name, value);
    }
    form.addFile("imgfile[]", file, "image/png");
    cvu::HttpClient poster;
    cvu::MakeSession(poster, true, cvu::AccountValues::Anonymous());
    try {
      poster.post("http://" + host + "//upload.html", form);
    } catch (const cvu::HttpError&) {
      // the accepted upload's 302
    }
    cvu::HttpClient getter;
    cvu::MakeSession(getter, false, cvu::AccountValues::Anonymous());
    if (cvu::FindUploadResult(getter.getText("http://" + host + "/" + poster.location()))) ++pages;
  }
  const double seconds = SecondsSince(start);
  Check(pages == static_cast<int>(files.size()), "HttpClient loop: every page holds the result");
  return seconds;
}

// AddHistoryRecord called on the UI thread as the result fetch does, once per file.
std::vector<double> DirectRecordMs(const std::vector<std::string>& files, int historyRows, int count) {
  BenchProgram program(CVU_BENCH_SUPPLIED_DB, historyRows);
  program.main.CV_Links_Table().addGroup(0, "Группа 1");
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const std::string& path = files[static_cast<std::size_t>(i) % files.size()];
    char id[16];
    std::snprintf(id, sizeof id, "%012x", 0xabc000 + i);
    const auto start = SteadyClock::now();
    cvu::AddHistoryRecord(program.ctx, path, 0, id, "i1", std::string(id) + ".png", std::string(id) + ".th.png");
    times.push_back(SecondsSince(start) * 1000);
  }
  Check(program.ctx.history.FullHistory.count() == historyRows + count, "direct records all recorded");
  return times;
}

void PrintDirect(const char* label, const std::vector<double>& ms) {
  const double first = ms.front(), last = ms.back();
  double sum = 0;
  for (double v : ms) sum += v;
  std::printf("  %-22s median %8.3f ms  mean %8.3f ms  first %8.3f ms  last %8.3f ms\n", label, Median(ms),
              sum / static_cast<double>(ms.size()), first, last);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  TempFolder folder("cvu-bench-run-files");
  const auto files = MakeFiles(folder, o.files, o.kb);
  TempFolder data("cvu-bench-run-data");
  cvu::service::PhotoService service({data.path(), "5.8"});
  const std::string host = "127.0.0.1:" + std::to_string(service.start(0));
  cvu::SetServiceHost(host);

  std::vector<double> program, curl, client, longHistory;
  for (int r = 0; r < o.rounds; ++r) {
    curl.push_back(CurlRun(host, files));
    data.removeFiles();
    client.push_back(ClientRun(host, files));
    data.removeFiles();
    program.push_back(ProgramRun(files, 0));
    data.removeFiles();
    longHistory.push_back(ProgramRun(files, o.history));
    data.removeFiles();
    std::printf("round %d: libcurl %.3f s, HttpClient %.3f s, program %.3f s, program over %d rows %.3f s\n", r + 1,
                curl.back(), client.back(), program.back(), o.history, longHistory.back());
  }
  const double p = Median(program), c = Median(curl), h = Median(longHistory);
  std::printf("%d files of %d KB, medians of %d rounds:\n", o.files, o.kb, o.rounds);
  std::printf("  libcurl loop (%d requests)   %8.3f s  %7.2f ms per file\n", 2 * o.files, c, c * 1000 / o.files);
  const double k = Median(client);
  std::printf("  HttpClient loop (same)      %8.3f s  %7.2f ms per file  (%.2fx the libcurl loop)\n", k,
              k * 1000 / o.files, k / c);
  std::printf("  program, empty history      %8.3f s  %7.2f ms per file  (%.2fx the libcurl loop)\n", p,
              p * 1000 / o.files, p / c);
  std::printf("  program, %6d rows         %8.3f s  %7.2f ms per file  (%.2fx the libcurl loop)\n", o.history, h,
              h * 1000 / o.files, h / c);
  std::printf("  history work per image over %d rows (difference of the runs): %.2f ms\n", o.history,
              (h - p) * 1000 / o.files);
  std::printf("AddHistoryRecord alone, %d records on the UI thread:\n", o.direct);
  PrintDirect("empty history", DirectRecordMs(files, 0, o.direct));
  PrintDirect((std::to_string(o.history) + " rows").c_str(), DirectRecordMs(files, o.history, o.direct));
  cvu::SetServiceHost(cvu::kDefaultServiceHost);
  return 0;
}
