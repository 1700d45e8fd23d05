#include "xml/references.h"

#include <array>
#include <optional>

#include "common/utf8.h"

namespace cvu {
namespace {

struct NamedReference {
  std::string_view name;
  char character;
};

constexpr std::array<NamedReference, 5> kNamed = {{
    {"amp", '&'},
    {"lt", '<'},
    {"gt", '>'},
    {"apos", '\''},
    {"quot", '"'},
}};

// Below this the character is replaced; from it up the reference is kept.
constexpr char32_t kCharacterLimit = 0xFFFF;

int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The number of "#123" or "#x1F", or none when it is no number or not below the limit.
std::optional<char32_t> NumericReference(std::string_view body) {
  const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return std::nullopt;
  char32_t number = 0;
  for (char c : digits) {
    const int digit = DigitValue(c, hex ? 16 : 10);
    if (digit < 0) return std::nullopt;
    number = number * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    if (number >= kCharacterLimit) return std::nullopt;
  }
  return number;
}

// body is the text between "&" and ";". Appends its replacement; false when it has none.
bool AppendReplacement(std::string& out, std::string_view body) {
  for (const NamedReference& named : kNamed) {
    if (body == named.name) {
      out += named.character;
      return true;
    }
  }
  if (body.empty() || body[0] != '#') return false;
  const std::optional<char32_t> code = NumericReference(body);
  if (!code) return false;
  const bool surrogate = *code >= 0xD800 && *code <= 0xDFFF;
  AppendUtf8(out, surrogate ? U'\uFFFD' : *code);
  return true;
}

}  // namespace

std::string ReplaceReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t amp = text.find('&', pos);
    const std::size_t semicolon = amp == std::string_view::npos ? amp : text.find(';', amp + 1);
    if (semicolon == std::string_view::npos) break;
    out.append(text, pos, amp - pos);
    if (!AppendReplacement(out, text.substr(amp + 1, semicolon - amp - 1))) {
      out.append(text, amp, semicolon + 1 - amp);
    }
    pos = semicolon + 1;
  }
  out.append(text, pos);
  return out;
}

}  // namespace cvu
