#pragma once
// Helpers shared by the XML reader's tests.
#include <string>
#include <string_view>

#include "xml/xml_document.h"

namespace cvu::xml_test {

// The reader's error text for these bytes, or "" when they load.
inline std::string LoadError(std::string_view bytes) {
  XmlDocument document;
  try {
    document.LoadFromBytes(bytes);
    return "";
  } catch (const XmlError& error) {
    return error.what();
  }
}

// UTF-16 bytes of text in either byte order, optionally behind a byte order mark.
inline std::string Utf16Bytes(std::u16string_view text, bool bigEndian, bool withMark) {
  std::string bytes;
  auto put = [&](char16_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  if (withMark) put(0xFEFF);
  for (char16_t unit : text) put(unit);
  return bytes;
}

}  // namespace cvu::xml_test
