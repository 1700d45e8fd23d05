#pragma once
// Small text rules of the XML reader: its blanks, quotes and name comparison.
#include <string_view>

namespace cvu {

// Blanks are tab, line feed, carriage return and space, no others.
constexpr bool IsXmlBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }
constexpr bool IsXmlQuote(char c) { return c == '"' || c == '\''; }

std::string_view TrimXmlBlanks(std::string_view text);
bool HasNonBlank(std::string_view text);

// Names compare without regard to letter case, for Latin and Cyrillic letters; bytes
// that are no well-formed UTF-8 compare as they are.
bool SameXmlName(std::string_view a, std::string_view b);

}  // namespace cvu
