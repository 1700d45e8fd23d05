// A large file posted by HttpClient beside `curl -F` with the same form, into a sink
// that discards the body and into the local photo-hosting service. Each upload runs
// in a child process, so its peak memory is the client's alone.
//
//   bench_upload_large [--rounds N] [MB ...]          (default: 3 rounds of 1024 MB)
//   bench_upload_large --client URL FILE               (one upload; used by the above)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/account.h"
#include "http/http_client.h"
#include "http/session.h"
#include "service/photo_service.h"
#include "sink_server.h"

namespace {

using namespace cvu::bench;

// The upload form's text fields, in the order the upload worker sends them.
const std::vector<std::pair<std::string, std::string>> kFields = {
    {"quality", "85"}, {"filter", "0"}, {"thumbtext", "bench"}, {"title", "Large upload"},
    {"album_id", "0"}, {"nod", "on"},   {"published", "on"}};

// Child: one post with the program's client. Prints seconds, VmHWM before and after,
// ru_maxrss, the answer's status and Location.
int ClientMain(const std::string& url, const std::string& file) {
  cvu::HttpClient client;
  cvu::MakeSession(client, true, cvu::AccountValues::Anonymous());
  cvu::MultipartForm form;
  for (const auto& [name, value] : kFields) form.addText(name, value);
  form.addFile("imgfile[]", file, "image/png");
  const long idleKb = PeakRssKb();
  const auto start = SteadyClock::now();
  try {
    client.post(url, form);
  } catch (const cvu::HttpError&) {
    // The accepted upload is a 302: reported below by status and Location.
  }
  const double seconds = SecondsSince(start);
  std::printf("%.6f %ld %ld %ld %d %s\n", seconds, idleKb, PeakRssKb(), RusagePeakKb(), client.status(),
              client.location().c_str());
  return 0;
}

std::vector<std::string> CurlCommand(const std::string& url, const std::string& file) {
  std::vector<std::string> argv = {"curl", "-sS",     "-o", "/dev/null",
                                   "-H",   "Expect:", "-w", "%{http_code} %{time_total}"};
  for (const auto& [name, value] : kFields) {
    argv.push_back("--form-string");
    argv.push_back(name + "=" + value);
  }
  argv.push_back("-F");
  argv.push_back("imgfile[]=@" + file + ";type=image/png");
  argv.push_back(url);
  return argv;
}

struct Sample {
  double seconds = 0;  // wall time of the child process
  double inside = 0;   // the transfer as the client timed it
  long peakKb = 0;     // child's ru_maxrss
  long idleKb = 0;     // our client: VmHWM before the post
  long afterKb = 0;    // our client: VmHWM after the post
  bool ok = false;
};

Sample RunOurs(const std::string& self, const std::string& url, const std::string& file) {
  const ChildRun run = RunChild({self, "--client", url, file});
  Sample s{run.seconds, 0, run.maxRssKb};
  long rusageKb = 0;
  int status = 0;
  std::string location;
  std::istringstream(run.output) >> s.inside >> s.idleKb >> s.afterKb >> rusageKb >> status >> location;
  s.ok = run.exitCode == 0 && status == 302 && !location.empty();
  return s;
}

Sample RunCurl(const std::string& url, const std::string& file) {
  const ChildRun run = RunChild(CurlCommand(url, file));
  Sample s{run.seconds, 0, run.maxRssKb};
  int status = 0;
  std::istringstream(run.output) >> status >> s.inside;
  s.ok = run.exitCode == 0 && status == 302;
  return s;
}

struct Series {
  std::vector<Sample> samples;
  double median(double Sample::*field) const {
    std::vector<double> v;
    for (const auto& s : samples) v.push_back(s.*field);
    return Median(v);
  }
  long maxOf(long Sample::*field) const {
    long m = 0;
    for (const auto& s : samples) m = std::max(m, s.*field);
    return m;
  }
};

void Report(const std::string& server, std::uint64_t bytes, const Series& ours, const Series& curl) {
  const double mb = static_cast<double>(bytes) / (1 << 20);
  const double oursS = ours.median(&Sample::seconds), curlS = curl.median(&Sample::seconds);
  std::printf("  %-8s curl     %7.3f s (transfer %7.3f s) %8.1f MB/s  peak RSS %6ld kB\n", server.c_str(), curlS,
              curl.median(&Sample::inside), mb / curlS, curl.maxOf(&Sample::peakKb));
  std::printf(
      "  %-8s client   %7.3f s (transfer %7.3f s) %8.1f MB/s  peak RSS %6ld kB"
      " (VmHWM idle %ld kB -> after %ld kB: +%ld kB)\n",
      server.c_str(), oursS, ours.median(&Sample::inside), mb / oursS, ours.maxOf(&Sample::peakKb),
      ours.maxOf(&Sample::idleKb), ours.maxOf(&Sample::afterKb),
      ours.maxOf(&Sample::afterKb) - ours.maxOf(&Sample::idleKb));
  std::printf("  %-8s client / curl throughput: %.2fx\n", server.c_str(), curlS / oursS);
}

void Round(const std::string& self, const std::string& url, const std::string& file, bool curlFirst, Series& ours,
           Series& curl, const std::function<void()>& afterEach) {
  for (int turn = 0; turn < 2; ++turn) {
    const bool curlTurn = (turn == 0) == curlFirst;
    Sample s = curlTurn ? RunCurl(url, file) : RunOurs(self, url, file);
    afterEach();
    if (!s.ok) std::fprintf(stderr, "upload by %s to %s failed\n", curlTurn ? "curl" : "client", url.c_str());
    (curlTurn ? curl : ours).samples.push_back(s);
  }
}

void BenchSize(const std::string& self, std::uint64_t megabytes, int rounds) {
  TempFolder work("cvu-bench-large");
  const std::string file = work.file("large.png");
  WriteFile(file, megabytes << 20);
  SinkServer sink;
  TempFolder data("cvu-bench-large-data");
  cvu::service::PhotoService service({data.path(), "5.8"});
  const int servicePort = service.start(0);
  const std::map<std::string, std::string> urls = {
      {"sink", "http://127.0.0.1:" + std::to_string(sink.port()) + "//upload.html"},
      {"service", "http://127.0.0.1:" + std::to_string(servicePort) + "//upload.html"}};
  std::printf("%llu MB file, %d rounds (medians; peak RSS: the largest of the rounds)\n",
              static_cast<unsigned long long>(megabytes), rounds);
  for (const auto& [server, url] : urls) {
    Series ours, curl;
    for (int r = 0; r < rounds; ++r) Round(self, url, file, r % 2 == 0, ours, curl, [&] { data.removeFiles(); });
    Report(server, megabytes << 20, ours, curl);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "--client") return ClientMain(args[1], args[2]);
  int rounds = 3;
  std::vector<std::uint64_t> sizes;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--rounds" && i + 1 < args.size()) {
      rounds = std::atoi(args[++i].c_str());
    } else {
      sizes.push_back(std::strtoull(args[i].c_str(), nullptr, 10));
    }
  }
  if (sizes.empty()) sizes.push_back(1024);
  for (const auto mb : sizes) BenchSize(std::filesystem::read_symlink("/proc/self/exe").string(), mb, rounds);
  return 0;
}
