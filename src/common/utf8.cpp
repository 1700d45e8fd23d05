#include "common/utf8.h"

namespace cvu {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct Lead {
  std::size_t length = 0;  // 0: no lead byte
  // The second byte's range: narrower after some leads, which rules out overlong
  // forms (E0, F0), surrogates (ED) and codes above U+10FFFF (F4).
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
};

Lead LeadOf(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {2};
  if (byte == 0xE0) return {3, 0xA0};
  if (byte == 0xED) return {3, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {3};
  if (byte == 0xF0) return {4, 0x90};
  if (byte == 0xF4) return {4, 0x80, 0x8F};
  if (byte >= 0xF1 && byte <= 0xF3) return {4};
  return {};
}

}  // namespace

std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char first = byte(0);
  if (first < 0x80) {
    ++pos;
    return first;
  }
  const Lead lead = LeadOf(first);
  if (lead.length == 0 || text.size() - pos < lead.length || byte(1) < lead.low || byte(1) > lead.high) {
    ++pos;
    return std::nullopt;
  }
  char32_t code = first & (0x7F >> lead.length);
  for (std::size_t i = 1; i < lead.length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) {
      ++pos;
      return std::nullopt;
    }
    code = (code << 6) | (byte(i) & 0x3F);
  }
  pos += lead.length;
  return code;
}

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) { return NextUtf8(text, pos).value_or(U'\uFFFD'); }

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (NextUtf8(text, pos)) {
      out.append(text.substr(start, pos - start));
    } else {
      out.append(kReplacement);
    }
  }
  return out;
}

}  // namespace cvu
