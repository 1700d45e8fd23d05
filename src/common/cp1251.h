#pragma once
// The 8-bit code page of the database and the saved log file: Windows-1251.
#include <string>
#include <string_view>

namespace cvu {

// A character the code page lacks (or a broken UTF-8 sequence) becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view bytes);

// Decodes one UTF-8 character at pos, advancing pos; returns U+FFFD for a broken
// sequence (advancing by one byte). pos must be below text.size().
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t code);

}  // namespace cvu
