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

bool ParseInt(std::string_view text, long long& value) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty() || digits.front() == '+') return false;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

long long TextToInt(std::string_view text) {
  long long value = 0;
  if (!ParseInt(text, value)) throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}

bool TextToBool(std::string_view text) {
  long long value = 0;
  if (ParseInt(text, value)) return value != 0;
  if (EqualsIgnoreCase(text, "True")) return true;
  if (EqualsIgnoreCase(text, "False")) return false;
  throw ConvertError("'" + std::string(text) + "' is not a valid boolean value");
}

std::string LastPathComponent(std::string_view path) {
  const auto at = path.find_last_of("/\\");
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

}  // namespace cvu
