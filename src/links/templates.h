#pragma once
// Own-code templates and the texts of a whole upload group.
#include <string>

#include "common/clipboard.h"
#include "common/main_controls.h"
#include "store/history.h"

namespace cvu {

// The template with its placeholders replaced for the record.
std::string ExpandTemplate(const std::string& text, const HistoryRecord& r);

// Expands template 1..3 (the text of its editor on the main window) for
// FullHistory[index] or RunHistory[index] and puts it on the clipboard. Returns the empty
// text, leaving the clipboard alone, for another number, an empty template or an index
// outside the list.
std::string BuildTemplateText(MainControls& main, const History& history, Clipboard& clipboard, int index,
                              int templateNumber, bool useFullHistory);

// Joins one text of the given kind (1..7) for every item of the group in the history
// view, trims it and, when not empty, puts it on the clipboard.
void CopyGroupText(MainControls& main, const History& history, Clipboard& clipboard, int kind, int groupId);

}  // namespace cvu
