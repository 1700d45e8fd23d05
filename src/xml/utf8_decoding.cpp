#include "xml/utf8_decoding.h"

#include <algorithm>

#include "common/cp1251.h"
#include "common/utf8.h"

namespace cvu {
namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char32_t UnitAt(std::string_view bytes, std::size_t pos, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[pos]);
  const auto second = static_cast<unsigned char>(bytes[pos + 1]);
  return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  const std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    char32_t unit = UnitAt(bytes, i * 2, bigEndian);
    if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(UnitAt(bytes, i * 2 + 2, bigEndian))) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (UnitAt(bytes, i * 2 + 2, bigEndian) - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      unit = 0xFFFD;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

}  // namespace

std::string DecodeToUtf8(std::string_view bytes, StringEncoding encoding) {
  switch (encoding) {
    case StringEncoding::seoAnsi:
      return Cp1251ToUtf8(bytes);
    case StringEncoding::seo16BitBE:
    case StringEncoding::seoUTF16BE:
      return DecodeUtf16(bytes, true);
    case StringEncoding::seo16BitLE:
    case StringEncoding::seoUTF16LE:
      return DecodeUtf16(bytes, false);
    default:
      return std::string(bytes);
  }
}

std::size_t AnsiBytesBehind(std::string_view decodedPrefix) {
  return static_cast<std::size_t>(std::count_if(decodedPrefix.begin(), decodedPrefix.end(),
                                                [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace cvu
