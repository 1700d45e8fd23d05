#include "common/log_escape.h"

#include <cstdio>

namespace cvu {
namespace {

std::string Hex(unsigned value, int digits) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

std::string AsciiEscape(unsigned char c) {
  switch (c) {
    case '\r':
      return "\\r";
    case '\n':
      return "\\n";
    case '\t':
      return "\\t";
    default:
      return "\\x" + Hex(c, 2);
  }
}

// The code point of a C1 control (C2 80..C2 9F) or of U+2028/U+2029 (E2 80 A8/A9)
// starting at pos, with its length in bytes; 0 when there is none.
unsigned LineBreakingCodePoint(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  if (pos + 1 < text.size() && at(0) == 0xC2 && at(1) >= 0x80 && at(1) <= 0x9F) {
    length = 2;
    return at(1);
  }
  if (pos + 2 < text.size() && at(0) == 0xE2 && at(1) == 0x80 && (at(2) == 0xA8 || at(2) == 0xA9)) {
    length = 3;
    return 0x2000u + (at(2) - 0x80u);
  }
  return 0;
}

}  // namespace

std::string EscapeLogArgument(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const auto c = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    if (c < 0x20 || c == 0x7F) {
      out += AsciiEscape(c);
      ++pos;
    } else if (const unsigned code = LineBreakingCodePoint(text, pos, length); code != 0) {
      out += "\\u" + Hex(code, 4);
      pos += length;
    } else {
      out += static_cast<char>(c);
      ++pos;
    }
  }
  return out;
}

}  // namespace cvu
