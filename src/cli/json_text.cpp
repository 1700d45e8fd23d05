#include "cli/json_text.h"

#include <nlohmann/json.hpp>

#include "common/text.h"
#include "common/utf8.h"

namespace cvu::cli {

std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  for (const auto& [name, value] : members) object[ValidUtf8(name)] = ValidUtf8(value);
  // DEL is a control character to a terminal too, so it is escaped like the others.
  return ReplaceAll(object.dump(), "\x7f", "\\u007f");
}

}  // namespace cvu::cli
