#include "common/cp1251.h"

#include <array>

#include "common/utf8.h"

namespace cvu {
namespace {

constexpr std::array<char32_t, 128> kHighHalf = {
#include "common/cp1251_table.inc"
};

char ToCp1251(char32_t code) {
  if (code < 0x80) return static_cast<char>(code);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == code) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) out += ToCp1251(DecodeUtf8(utf8, pos));
  return out;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;  // NUL included: it is a character, not the mark of an unused byte
      continue;
    }
    const char32_t code = kHighHalf[b - 0x80];
    AppendUtf8(out, code == 0 ? U'?' : code);
  }
  return out;
}

}  // namespace cvu
