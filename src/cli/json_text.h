#pragma once
// Writing JSON text: quoted strings and flat objects of named texts.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cvu::cli {

// The UTF-8 text as a JSON string literal, quotes included: '"', '\' and every control
// character escaped; a byte sequence that is not UTF-8 becomes U+FFFD, so the output
// always parses.
std::string JsonQuoted(std::string_view text);

// {"name":"value",...} on one line, members in the given order.
std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members);

}  // namespace cvu::cli
