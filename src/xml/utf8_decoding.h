#pragma once
// Turns document bytes in a detected encoding into the UTF-8 the parser reads.
#include <cstddef>
#include <string>
#include <string_view>

#include "xml/xml_types.h"

namespace cvu {

// seoAnsi: every byte from the 8-bit code page (Windows-1251).
// seo16Bit*/seoUTF16*: 16-bit units; a surrogate pair becomes one character and a
// lone half becomes U+FFFD; an odd last byte is ignored.
// seoUTF8 and anything else: the bytes unchanged.
std::string DecodeToUtf8(std::string_view bytes, StringEncoding encoding);

// How many input bytes of an seoAnsi document produced this prefix of its decoded
// text: each byte yields exactly one character, so this counts the characters.
std::size_t AnsiBytesBehind(std::string_view decodedPrefix);

}  // namespace cvu
