#include "cli/cli_program.h"

namespace cvu::cli {

void PathQueue::removeLine(int index) {
  if (index >= 0 && index < count()) paths.erase(paths.begin() + index);
}

void LogTap::addLine(const std::string& text) {
  if (onLine) onLine(text);
}

}  // namespace cvu::cli
