#include "upload/pasted_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "common/text.h"

namespace cvu {
namespace {

std::string TimeName(const LocalDateTime& at) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d_%02d-%02d-%02d", at.year, at.month, at.day, at.hour, at.minute,
                at.second);
  return name;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
    if (low >= 0) {
      bytes.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

// "file:///a/b" or "file://localhost/a/b"; empty when the line is no local file URL.
std::string FileUrlPath(std::string_view line) {
  constexpr std::string_view scheme = "file://";
  if (AsciiLower(std::string(line.substr(0, scheme.size()))) != scheme) return {};
  std::string_view rest = line.substr(scheme.size());
  if (rest.starts_with("localhost/")) rest.remove_prefix(std::string_view("localhost").size());
  if (!rest.starts_with('/')) return {};
  return PercentDecoded(rest);
}

}  // namespace

std::string PastedFolder(const std::string& databasePath) {
  const std::filesystem::path folder = std::filesystem::path(databasePath).parent_path();
  return (folder.empty() ? std::filesystem::path("pasted") : folder / "pasted").string();
}

bool MakePastedFolder(const std::string& folder) { return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST; }

std::string PastedImagePath(const std::string& folder, const LocalDateTime& at,
                            const std::function<bool(const std::string&)>& taken) {
  const std::string stem = folder + "/" + TimeName(at);
  std::string path = stem + ".png";
  for (int n = 2; taken(path); ++n) path = stem + "_" + std::to_string(n) + ".png";
  return path;
}

std::vector<std::string> PathsFromPastedText(const std::string& text) {
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (std::string path = FileUrlPath(line); !path.empty()) {
      paths.push_back(std::move(path));
    } else if (line.starts_with('/')) {
      paths.emplace_back(line);
    }
    start = end + 1;
  }
  return paths;
}

}  // namespace cvu
