#include "proc_status.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace cvu::bench {

long StatusKb(std::string_view status, std::string_view name) {
  std::size_t at = 0;
  while (at < status.size()) {
    const std::size_t end = std::min(status.find('\n', at), status.size());
    const std::string_view line = status.substr(at, end - at);
    if (line.size() > name.size() && line.starts_with(name) && line[name.size()] == ':') {
      const std::string digits(line.substr(name.size() + 1));
      char* stop = nullptr;
      const long value = std::strtol(digits.c_str(), &stop, 10);
      return stop != digits.c_str() ? value : -1;
    }
    at = end + 1;
  }
  return -1;
}

MemoryKb ParseMemory(std::string_view status) { return {StatusKb(status, "VmRSS"), StatusKb(status, "VmHWM")}; }

MemoryKb ReadMemory(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/status");
  std::stringstream text;
  text << file.rdbuf();
  return ParseMemory(text.str());
}

}  // namespace cvu::bench
