#pragma once
// What is printed for one recorded image: one text of the chosen kind, or a JSON object
// with every text and the record's fields.
#include <array>
#include <string>

#include "cli/text_kind.h"
#include "store/history.h"

namespace cvu::cli {

// The own-code templates 1..3 as the settings row holds them.
using OwnCodes = std::array<std::string, 3>;

// The text of the kind for the record: the link forms, or the own-code template
// expanded (empty for an empty template).
std::string RecordText(const HistoryRecord& record, TextKind kind, const OwnCodes& ownCodes);

// One line of JSON: "file" (the path as given), the nine texts by their kind names,
// then the record's eight fields by their column names.
std::string RecordJson(const HistoryRecord& record, const OwnCodes& ownCodes, const std::string& file);

// The text as lines of standard output: the templates' "\r\n" line breaks become "\n".
std::string AsOutputText(const std::string& text);

}  // namespace cvu::cli
