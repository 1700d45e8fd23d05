#include "cli/json_text.h"

#include <cstdio>

#include "common/utf8.h"

namespace cvu::cli {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendEscaped(std::string& out, unsigned char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (c < 0x20 || c == 0x7F) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", c);
    out += code;
  } else {
    out += static_cast<char>(c);
  }
}

}  // namespace

std::string JsonQuoted(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      AppendEscaped(out, c);
      ++i;
      continue;
    }
    const std::size_t start = i;
    if (NextUtf8(text, i)) {
      out.append(text.substr(start, i - start));
    } else {
      out += kReplacement;
    }
  }
  out += '"';
  return out;
}

std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out = "{";
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (i > 0) out += ',';
    out += JsonQuoted(members[i].first) + ':' + JsonQuoted(members[i].second);
  }
  out += '}';
  return out;
}

}  // namespace cvu::cli
