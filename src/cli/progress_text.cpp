#include "cli/progress_text.h"

#include <algorithm>
#include <cstdio>

namespace cvu::cli {
namespace {

std::string Printed(const char* format, double value, const char* unit) {
  char text[48];
  std::snprintf(text, sizeof text, format, value, unit);
  return text;
}

}  // namespace

std::string FormatBytes(std::uint64_t bytes) {
  const double b = static_cast<double>(bytes);
  if (bytes < 1024) return std::to_string(bytes) + " B";
  if (b < 1024.0 * 1024) return Printed("%.1f %s", b / 1024, "KB");
  if (b < 1024.0 * 1024 * 1024) return Printed("%.1f %s", b / (1024 * 1024), "MB");
  return Printed("%.2f %s", b / (1024.0 * 1024 * 1024), "GB");
}

std::string FormatRate(double bytes, double seconds) {
  if (seconds <= 0) return "-";
  return FormatBytes(static_cast<std::uint64_t>(std::max(0.0, bytes) / seconds)) + "/s";
}

std::string ProgressLine(const FileProgress& p) {
  const double fraction = std::clamp(p.fraction, 0.0, 1.0);
  const auto sent = static_cast<std::uint64_t>(fraction * static_cast<double>(p.size));
  std::string line = "[";
  line += std::to_string(p.index + 1);
  // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on literal + temporary.
  for (const std::string& piece :
       {std::string("/"), std::to_string(p.total), std::string("] "), p.name, std::string("  "), FormatBytes(sent),
        std::string(" of "), FormatBytes(p.size), std::string("  "), std::to_string(static_cast<int>(fraction * 100)),
        std::string("%  "), FormatRate(static_cast<double>(sent), p.seconds)}) {
    line += piece;
  }
  return line;
}

std::string SummaryLine(int recorded, int total, std::uint64_t bytes, double seconds) {
  return std::to_string(recorded) + " of " + std::to_string(total) + " files uploaded and recorded, " +
         FormatBytes(bytes) + Printed(" in %.1f %s", seconds, "s");
}

}  // namespace cvu::cli
