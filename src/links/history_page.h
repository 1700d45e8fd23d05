#pragma once
// The history page: the list of uploaded images, its view switch and its menu.
#include "common/app_context.h"

namespace cvu {

void FillHistoryView(AppContext& ctx, bool full);
void ToggleHistoryView(AppContext& ctx, bool logIt);
void CVU_HistoryBtnClick(AppContext& ctx);       // ToggleHistoryView(true)
void CV_Links_TableSelectItem(AppContext& ctx);  // renews the menu's captions, states and tags
void N6Click(AppContext& ctx);                   // copy the page link
void N7Click(AppContext& ctx);                   // copy the direct link
void N12Click(AppContext& ctx);                  // own code 1 for the selected image
void N13Click(AppContext& ctx);
void N14Click(AppContext& ctx);
void GroupActionClick(AppContext& ctx, int kind);  // N16 .. N31: CopyGroupText(kind, tag of N16)

}  // namespace cvu
