#pragma once
// Own-code templates and the texts of a whole upload group.
#include <string>

#include "store/store_context.h"

namespace cvu {

// Expands template 1..3 (the editor's current text) for FullHistory[index] or
// RunHistory[index] and puts it on the clipboard. Returns the empty text, leaving the
// clipboard alone, for another number, an empty template or an index outside the list.
std::string BuildTemplateText(StoreContext& ctx, int index, int templateNumber, bool useFullHistory);

// Joins one text of the given kind (1..7) for every item of the group in the history
// view, trims it and, when not empty, puts it on the clipboard.
void CopyGroupText(StoreContext& ctx, int kind, int groupId);

}  // namespace cvu
