#pragma once
// The 8-bit code page of the database and the saved log file: Windows-1251.
#include <string>
#include <string_view>

namespace cvu {

// A character the code page lacks becomes '?', and so does each byte of a broken UTF-8
// sequence (common/utf8.h).
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view bytes);

}  // namespace cvu
