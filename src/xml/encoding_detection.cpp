#include "xml/encoding_detection.h"

#include <algorithm>
#include <array>

namespace cvu {
namespace {

struct SignatureRow {
  std::string_view bytes;
  StringEncoding encoding;
  bool isByteOrderMark;
};

using namespace std::string_view_literals;
using enum StringEncoding;

// Checked in this order; the first equal row decides.
constexpr std::array<SignatureRow, 15> kRows = {{
    {"\x00\x00\xFE\xFF"sv, seoUCS4BE, true},
    {"\xFF\xFE\x00\x00"sv, seoUCS4LE, true},
    {"\x00\x00\xFF\xFE"sv, seoUCS4_2143, true},
    {"\xFE\xFF\x00\x00"sv, seoUCS4_3412, true},
    {"\xFE\xFF"sv, seoUTF16BE, true},
    {"\xFF\xFE"sv, seoUTF16LE, true},
    {"\xEF\xBB\xBF"sv, seoUTF8, true},
    {"\x00\x00\x00\x3C"sv, seoUCS4BE, false},
    {"\x3C\x00\x00\x00"sv, seoUCS4LE, false},
    {"\x00\x00\x3C\x00"sv, seoUCS4_2143, false},
    {"\x00\x3C\x00\x00"sv, seoUCS4_3412, false},
    {"\x00\x3C\x00\x3F"sv, seoUTF16BE, false},
    {"\x3C\x00\x3F\x00"sv, seoUTF16LE, false},
    {"\x3C\x3F\x78\x6D"sv, seoAnsi, false},
    {"\x4C\x6F\xA7\x94"sv, seoEBCDIC, false},
}};

}  // namespace

DetectedEncoding DetectEncoding(std::string_view bytes) {
  const std::string_view head = bytes.substr(0, 4);
  for (const SignatureRow& row : kRows) {
    const std::size_t compared = std::min(head.size(), row.bytes.size());
    if (head.substr(0, compared) != row.bytes.substr(0, compared)) continue;
    const std::size_t skip = row.isByteOrderMark ? std::min(row.bytes.size(), bytes.size()) : 0;
    return {row.encoding, skip};
  }
  return {seoAnsi, 0};
}

bool IsUnsupportedEncoding(StringEncoding encoding) {
  switch (encoding) {
    case seoUCS4BE:
    case seoUCS4LE:
    case seoUCS4_2143:
    case seoUCS4_3412:
    case seoEBCDIC:
      return true;
    default:
      return false;
  }
}

}  // namespace cvu
