// FindUploadResult on 1 MB pages: one that opens the result comment and never closes
// it, one that holds the whole comment near its start, and one whose rest repeats the
// comment's pieces without ever closing it (the hardest case for the greedy groups).
//
//   bench_result_pattern [repeats]        (default 21)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "upload/fetch_upload_result.h"

namespace {

using namespace cvu::bench;

constexpr std::size_t kPageSize = 1 << 20;
constexpr const char* kComment =
    "<!--{Information:{ID:0123456789ab}{MD:i1}{NAME:0123456789ab.png}{TH:0123456789ab.th.png}}-->";

// Ordinary page text: markup, Cyrillic words, braces of inline scripts.
std::string Filler(std::size_t size, const std::string& line) {
  std::string text;
  text.reserve(size + line.size());
  while (text.size() < size) text += line;
  text.resize(size);
  return text;
}

const std::string kHtmlLine =
    "<div class=\"row\"><a href=\"/i-0123456789ab\">Изображение</a> <script>var x = {a: 1};</script></div>\r\n";

struct Page {
  std::string name;
  std::string text;
  bool expectFound;
};

std::vector<Page> Pages() {
  const std::string open = "<html><body><!--{Information:{ID:0123456789ab}{MD:i1}{NAME:a.png}{TH:";
  const std::string head = "<html><head><title>Result</title></head><body>\r\n" + std::string(kComment) + "\r\n";
  const std::string pieces = "}{ID:x}{MD:y}{NAME:z}{TH:w}}-- ";
  return {{"comment opened, never closed", open + Filler(kPageSize - open.size(), kHtmlLine), false},
          {"whole comment near the start", head + Filler(kPageSize - head.size(), kHtmlLine), true},
          {"never closed, pieces repeated", open + Filler(kPageSize - open.size(), pieces), false}};
}

double TimeOnce(const Page& page) {
  const auto start = SteadyClock::now();
  const auto ids = cvu::FindUploadResult(page.text);
  const double ms = SecondsSince(start) * 1000;
  if (ids.has_value() != page.expectFound || (ids && ids->imageId != "0123456789ab")) {
    std::fprintf(stderr, "unexpected result on \"%s\"\n", page.name.c_str());
    std::exit(1);
  }
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::atoi(argv[1]) : 21;
  std::printf("FindUploadResult on 1 MB pages, median of %d (min, max) in ms; goal: under 10 ms\n", repeats);
  for (const Page& page : Pages()) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) times.push_back(TimeOnce(page));
    const auto [lo, hi] = std::minmax_element(times.begin(), times.end());
    std::printf("  %-32s %8.2f ms  (%.2f, %.2f)\n", page.name.c_str(), Median(times), *lo, *hi);
  }
  return 0;
}
