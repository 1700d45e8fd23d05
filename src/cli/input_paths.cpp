#include "cli/input_paths.h"

namespace cvu::cli {

std::vector<std::string> ExpandInputPaths(const std::vector<std::string>& given, std::istream& in) {
  std::vector<std::string> paths;
  for (const auto& arg : given) {
    if (arg != "-") {
      paths.push_back(arg);
      continue;
    }
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) paths.push_back(line);
    }
  }
  return paths;
}

}  // namespace cvu::cli
