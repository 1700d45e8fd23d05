// The XML reader on a large album answer: load it and collect every album's id and
// name, as the album list does. With CVU_BENCH_PUGIXML the same bytes are also read
// with pugixml for comparison.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

double MedianMilliseconds(const std::function<Albums()>& read, Albums& result) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    result = read();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Report(const char* label, double milliseconds, std::size_t bytes, const Albums& albums) {
  std::printf("%-22s %8.1f ms  %7.1f MB/s  %zu albums\n", label, milliseconds, bytes / 1e3 / milliseconds,
              albums.size());
}

}  // namespace

int main() {
  const std::string xml = MakeAlbumDocument(kAlbums);
  std::printf("album document: %d albums, %.1f MB; median of %d runs\n", kAlbums, xml.size() / 1e6, kRuns);
  Albums own;
  const double ownMs = MedianMilliseconds([&] { return ReadWithOwnReader(xml); }, own);
  Report("XmlDocument", ownMs, xml.size(), own);
  if (own.size() != kAlbums || own.back() != Albums::value_type("200000", "Альбом №100000 & друзья")) {
    std::printf("unexpected result from XmlDocument\n");
    return 1;
  }
#ifdef CVU_BENCH_PUGIXML
  Albums pugi;
  const double pugiMs = MedianMilliseconds([&] { return ReadWithPugixml(xml); }, pugi);
  Report("pugixml", pugiMs, xml.size(), pugi);
  if (pugi != own) {
    std::printf("the two readers disagree\n");
    return 1;
  }
  std::printf("XmlDocument / pugixml: %.2fx (goal: at most 1.3x)\n", ownMs / pugiMs);
#else
  std::printf("pugixml not found: no comparison\n");
#endif
  return 0;
}
