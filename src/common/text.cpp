#include "common/text.h"

#include <algorithm>
#include <charconv>

namespace cvu {

std::string ReplaceAll(std::string_view source, std::string_view token, std::string_view replacement) {
  if (token.empty()) return std::string(source);
  std::string done;
  done.reserve(source.size());
  std::string_view rest = source;
  for (;;) {
    const auto at = rest.find(token);
    if (at == std::string_view::npos) break;
    done.append(rest.substr(0, at));
    done.append(replacement);
    rest.remove_prefix(at + token.size());
  }
  done.append(rest);
  return done;
}

std::string TrimControl(std::string_view text) {
  auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && isControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && isControl(text.back())) text.remove_suffix(1);
  return std::string(text);
}

namespace {

// The digits of an optionally signed decimal text; empty when the text is not one.
std::string_view UnsignedDigits(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  return (!text.empty() && std::all_of(text.begin(), text.end(), isDigit)) ? text : std::string_view();
}

bool ParseInt(std::string_view text, long long& value) {
  if (UnsignedDigits(text).empty()) return false;
  if (text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

long long TextToInt(std::string_view text) {
  long long value = 0;
  if (!ParseInt(text, value)) throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}

bool TextToBool(std::string_view text) {
  // Any decimal number, however long, is true unless it is zero.
  const std::string_view digits = UnsignedDigits(text);
  if (!digits.empty()) return digits.find_first_not_of('0') != std::string_view::npos;
  if (AsciiEqualIgnoringCase(text, "True")) return true;
  if (AsciiEqualIgnoringCase(text, "False")) return false;
  throw ConvertError("'" + std::string(text) + "' is not a valid boolean value");
}

std::string LastPathComponent(std::string_view path) {
  const auto at = path.find_last_of("/\\");
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string AsciiLower(std::string text) {
  for (char& c : text) c = AsciiLower(c);
  return text;
}

bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace cvu
