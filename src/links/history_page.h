#pragma once
// The history page: the list of uploaded images, its view switch and its menu.
#include "store/store_context.h"

namespace cvu {

void FillHistoryView(StoreContext& ctx, bool full);
void ToggleHistoryView(StoreContext& ctx, bool logIt);
// After an image was recorded: the page shows the list it showed, as a refill would.
void RefreshHistoryPage(StoreContext& ctx);
void CVU_HistoryBtnClick(StoreContext& ctx);       // ToggleHistoryView(true)
void CV_Links_TableSelectItem(StoreContext& ctx);  // renews the menu's captions, states and tags
void N6Click(StoreContext& ctx);                   // copy the page link
void N7Click(StoreContext& ctx);                   // copy the direct link
void N12Click(StoreContext& ctx);                  // own code 1 for the selected image
void N13Click(StoreContext& ctx);
void N14Click(StoreContext& ctx);
void GroupActionClick(StoreContext& ctx, int kind);  // N16 .. N31: CopyGroupText(kind, tag of N16)

}  // namespace cvu
