#pragma once
// What is printed for one recorded image: one text of the chosen kind, or a JSON object
// with every text and the record's fields.
#include <string>

#include "cli/text_kind.h"
#include "store/store_context.h"

namespace cvu::cli {

// The text of the kind for RunHistory[runIndex]: the link forms, or the own-code
// template of the main window's editor expanded (empty for an empty template).
std::string RecordText(StoreContext& ctx, TextKind kind, int runIndex);

// One line of JSON: "file" (the path as given), the nine texts by their kind names,
// then the record's eight fields by their column names.
std::string RecordJson(StoreContext& ctx, int runIndex, const std::string& file);

// The text as lines of standard output: the templates' "\r\n" line breaks become "\n".
std::string AsOutputText(const std::string& text);

}  // namespace cvu::cli
