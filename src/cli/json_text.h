#pragma once
// The JSON line of corvane-upload: a flat object of named texts.
#include <string>
#include <utility>
#include <vector>

namespace cvu::cli {

// {"name":"value",...} on one line, members in the given order: '"', '\' and every
// control character escaped, each byte of a broken UTF-8 sequence written as U+FFFD, so
// the line always parses.
std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members);

}  // namespace cvu::cli
