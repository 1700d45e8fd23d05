#include "cli/cli_program.h"

namespace cvu::cli {

void LogTap::addLine(const std::string& text) {
  if (onLine) onLine(text);
}

}  // namespace cvu::cli
