// The XML reader on a large album answer: load it and collect every album's id and
// name, as the album list does. With CVU_BENCH_PUGIXML the same bytes are also read
// with pugixml for comparison. Then the reader's memory on 50 MB answers: how much the
// process grows, per byte of the answer, at the peak of loading it and to hold the tree.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "proc_status.h"
#include "xml/xml_document.h"

#ifdef CVU_BENCH_PUGIXML
#include <strings.h>

#include <pugixml.hpp>
#endif

namespace {

using Clock = std::chrono::steady_clock;
using Albums = std::vector<std::pair<std::string, std::string>>;

constexpr int kAlbums = 100000;
constexpr int kRuns = 9;
constexpr std::size_t kLargeAnswer = 50'000'000;

// Shaped like the service's album answer: a declaration, a document element and one
// "album" element per album with its id and Cyrillic name, indented on CRLF lines.
std::string MakeAlbumDocument(int count) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<albums>\r\n";
  for (int i = 1; i <= count; ++i) {
    const std::string id = std::to_string(100000 + i);
    xml += "  <album>\r\n    <album_id>" + id + "</album_id>\r\n    <name>Альбом №" + std::to_string(i);
    xml += i % 10 == 0 ? " &amp; друзья" : " — отпуск";
    xml += "</name>\r\n    <created>2026-12-08</created>\r\n  </album>\r\n";
  }
  return xml + "</albums>\r\n";
}

Albums ReadWithOwnReader(std::string_view bytes) {
  cvu::XmlDocument document;
  document.LoadFromBytes(bytes);
  cvu::XmlNodeList list;
  document.Root()->FindNodes("album", list);
  Albums albums;
  albums.reserve(list.Count());
  for (std::size_t i = 0; i < list.Count(); ++i) {
    albums.emplace_back(list[i]->FindNode("album_id")->ValueAsString(), list[i]->FindNode("name")->ValueAsString());
  }
  return albums;
}

#ifdef CVU_BENCH_PUGIXML
std::string Trimmed(const char* text) {
  std::string_view view(text);
  const auto first = view.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(view.substr(first, view.find_last_not_of(" \t\r\n") - first + 1));
}

// The same work: case-insensitive names, every "album" below the document element in
// document order, the first "album_id" and "name" below each, trimmed.
Albums ReadWithPugixml(std::string_view bytes) {
  pugi::xml_document document;
  if (!document.load_buffer(bytes.data(), bytes.size())) return {};
  auto named = [](const char* name) {
    return [name](pugi::xml_node node) { return strcasecmp(node.name(), name) == 0; };
  };
  Albums albums;
  const pugi::xml_node root = document.document_element();
  for (pugi::xml_node node = root.first_child(); node && node != root;) {
    if (strcasecmp(node.name(), "album") == 0) {
      albums.emplace_back(Trimmed(node.find_node(named("album_id")).child_value()),
                          Trimmed(node.find_node(named("name")).child_value()));
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != root && !node.next_sibling()) node = node.parent();
    if (node != root) node = node.next_sibling();
  }
  return albums;
}
#endif

// The median time of each reader over kRuns runs. The readers take turns run by run,
// so that a changing load on a shared machine weighs on both alike.
std::vector<double> MedianMilliseconds(const std::vector<std::function<Albums()>>& readers,
                                       std::vector<Albums>& results) {
  std::vector<std::vector<double>> times(readers.size());
  results.resize(readers.size());
  for (int run = 0; run < kRuns; ++run) {
    for (std::size_t r = 0; r < readers.size(); ++r) {
      const auto start = Clock::now();
      results[r] = readers[r]();
      times[r].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
  }
  std::vector<double> medians;
  for (std::vector<double>& readerTimes : times) {
    std::sort(readerTimes.begin(), readerTimes.end());
    medians.push_back(readerTimes[readerTimes.size() / 2]);
  }
  return medians;
}

void Report(const char* label, double milliseconds, std::size_t bytes, const Albums& albums) {
  std::printf("%-22s %8.1f ms  %7.1f MB/s  %zu albums\n", label, milliseconds, bytes / 1e3 / milliseconds,
              albums.size());
}

// The service's own album answer (service/pages.cpp) of about size bytes: LF lines
// indented by two blanks, or the same elements on one line.
std::string MakeServiceAnswer(std::size_t size, bool oneLine) {
  const std::string line = oneLine ? "" : "\n";
  const std::string indent = oneLine ? "" : "  ";
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + line + "<albums>" + line;
  for (int i = 1; xml.size() < size; ++i) {
    xml += indent + "<album>" + line + indent + indent + "<album_id>" + std::to_string(100000 + i) + "</album_id>" +
           line + indent + indent + "<name>Альбом №" + std::to_string(i) +
           (i % 10 == 0 ? " &amp; друзья" : " — отпуск") + "</name>" + line + indent + "</album>" + line;
  }
  return xml + "</albums>" + line;
}

// The process's memory now and at its peak, in bytes.
struct Memory {
  double rss;
  double peak;
};

Memory ReadMemory() {
  const cvu::bench::MemoryKb kb = cvu::bench::ReadMemory(getpid());
  return {kb.rss * 1024.0, kb.hwm * 1024.0};
}

// Hands the answer to a document as the album list does (or has it copied) and prints
// how much the process grows at the peak of the load (VmHWM, reset through
// /proc/self/clear_refs just before) and to hold the tree (VmRSS), the answer itself
// being in memory before. Freed heap is handed back first, so earlier runs do not hide
// the growth.
void ReportLoadMemory(const char* label, std::string answer, bool copied = false) {
  const double size = static_cast<double>(answer.size());
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const Memory before = ReadMemory();
  cvu::XmlDocument document;
  if (copied) {
    document.LoadFromBytes(answer);
  } else {
    document.LoadFromString(std::move(answer));
  }
  const Memory after = ReadMemory();
  if (document.Root() == nullptr) std::printf("no document element\n");
  std::printf("%-26s %5.1f MB  growth at the peak %6.1f MB (%.2fx), held %6.1f MB (%.2fx)\n", label, size / 1e6,
              (after.peak - before.rss) / 1e6, (after.peak - before.rss) / size, (after.rss - before.rss) / 1e6,
              (after.rss - before.rss) / size);
}

}  // namespace

int main() {
  const std::string xml = MakeAlbumDocument(kAlbums);
  std::printf("album document: %d albums, %.1f MB; median of %d runs\n", kAlbums, xml.size() / 1e6, kRuns);
  std::vector<std::function<Albums()>> readers = {[&] { return ReadWithOwnReader(xml); }};
#ifdef CVU_BENCH_PUGIXML
  readers.emplace_back([&] { return ReadWithPugixml(xml); });
#endif
  std::vector<Albums> results;
  const std::vector<double> medians = MedianMilliseconds(readers, results);
  const Albums& own = results[0];
  Report("XmlDocument", medians[0], xml.size(), own);
  if (own.size() != kAlbums || own.back() != Albums::value_type("200000", "Альбом №100000 & друзья")) {
    std::printf("unexpected result from XmlDocument\n");
    return 1;
  }
#ifdef CVU_BENCH_PUGIXML
  Report("pugixml", medians[1], xml.size(), results[1]);
  if (results[1] != own) {
    std::printf("the two readers disagree\n");
    return 1;
  }
  std::printf("XmlDocument / pugixml: %.2fx (goal: at most 1.3x)\n", medians[0] / medians[1]);
#else
  std::printf("pugixml not found: no comparison\n");
#endif
  ReportLoadMemory("service's album answer", MakeServiceAnswer(kLargeAnswer, false));
  ReportLoadMemory("the same on one line", MakeServiceAnswer(kLargeAnswer, true));
  ReportLoadMemory("service's answer, copied", MakeServiceAnswer(kLargeAnswer, false), true);
  ReportLoadMemory("this benchmark's answer", MakeAlbumDocument(static_cast<int>(kAlbums * kLargeAnswer / xml.size())));
  return 0;
}
