#include "xml/xml_text.h"

#include <algorithm>
#include <optional>

#include "common/text.h"
#include "common/utf8.h"

namespace cvu {
namespace {

char32_t FoldCase(char32_t code) {
  if (code >= U'A' && code <= U'Z') return code + 32;
  if (code >= 0x0410 && code <= 0x042F) return code + 0x20;  // А..Я
  if (code >= 0x0400 && code <= 0x040F) return code + 0x50;  // Ѐ..Џ, Ё among them
  return code;
}

}  // namespace

std::string_view TrimXmlBlanks(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsXmlBlank(text[first])) ++first;
  while (last > first && IsXmlBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool HasNonBlank(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return !IsXmlBlank(c); });
}

bool SameXmlName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;  // folding keeps the length of every letter
  if (a == b) return true;                 // the usual case: a close tag as it was opened
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (static_cast<unsigned char>(a[i]) < 0x80 && static_cast<unsigned char>(b[j]) < 0x80) {
      if (AsciiLower(a[i++]) != AsciiLower(b[j++])) return false;
    } else {
      const std::size_t startA = i;
      const std::size_t startB = j;
      const std::optional<char32_t> x = NextUtf8(a, i);
      const std::optional<char32_t> y = NextUtf8(b, j);
      // Bytes that are no character compare as bytes, not as the same U+FFFD.
      if (x && y ? FoldCase(*x) != FoldCase(*y) : a.substr(startA, i - startA) != b.substr(startB, j - startB)) {
        return false;
      }
    }
  }
  return i == a.size() && j == b.size();
}

}  // namespace cvu
