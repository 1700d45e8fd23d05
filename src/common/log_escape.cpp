#include "common/log_escape.h"

#include <cstdio>
#include <optional>

#include "common/utf8.h"

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

// The code point of a C1 control (U+0080..U+009F) or of U+2028/U+2029 at pos, with its
// length in bytes; 0 when there is none.
unsigned LineBreakingCodePoint(std::string_view text, std::size_t pos, std::size_t& length) {
  std::size_t next = pos;
  const std::optional<char32_t> code = NextUtf8(text, next);
  if (!code || !((*code >= 0x80 && *code <= 0x9F) || *code == 0x2028 || *code == 0x2029)) return 0;
  length = next - pos;
  return *code;
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
