#pragma once
// Text helpers shared by every part of the program. All texts are UTF-8.
#include <stdexcept>
#include <string>
#include <string_view>

namespace cvu {

// Replaces every occurrence of token, left to right without overlap; the inserted
// replacement is never searched again. An empty token leaves the source unchanged.
std::string ReplaceAll(std::string_view source, std::string_view token, std::string_view replacement);

// Removes every character with a code up to U+0020 (blanks, line breaks, control
// characters) from both ends.
std::string TrimControl(std::string_view text);

// A stored or typed value that does not convert; what() is the message the user sees.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decimal integer text, optionally signed. Fails with "'%s' is not a valid integer value".
long long TextToInt(std::string_view text);

// A number (true when not zero) or "True"/"False" in any letter case.
// Fails with "'%s' is not a valid boolean value".
bool TextToBool(std::string_view text);

// The letters A-Z made lower case; every other byte kept (names of headers, cookie
// attributes, content types, columns and tags).
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string text);
// Equal once the letters A-Z are made lower case.
bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b);

// The last component of a path; both '/' and '\' separate components.
std::string LastPathComponent(std::string_view path);

}  // namespace cvu
