#pragma once
// UTF-8 read and written one character at a time. Only well-formed UTF-8 reads as
// characters, so every part of the program takes the same bytes for the same text.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cvu {

// The character at pos, stepping over it. A broken sequence (a stray or missing
// continuation byte, a cut end, an overlong form, a surrogate, a code above U+10FFFF)
// gives nullopt and steps over its first byte only. pos must be below text.size().
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos);

// The same with U+FFFD for a broken sequence.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t code);

// The text with each byte of a broken sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

}  // namespace cvu
