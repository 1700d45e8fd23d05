#pragma once
// The history page: the list of uploaded images, its view switch and its menu.
#include "store/store_context.h"

namespace cvu {

// The view's items anew from the full history (true) or the run's.
void FillHistoryView(HistoryView& view, const History& history, bool full);
// Switches the page between the run's and the full history; true when the full one is
// now shown.
bool ToggleHistoryView(MainControls& main, History& history);
// After an image was recorded: the page shows the list it showed, as a refill would.
void RefreshHistoryPage(MainControls& main, History& history);
void CVU_HistoryBtnClick(StoreContext& ctx);       // ToggleHistoryView(true)
void CV_Links_TableSelectItem(StoreContext& ctx);  // renews the menu's captions, states and tags
void N6Click(StoreContext& ctx);                   // copy the page link
void N7Click(StoreContext& ctx);                   // copy the direct link
void N12Click(StoreContext& ctx);                  // own code 1 for the selected image
void N13Click(StoreContext& ctx);
void N14Click(StoreContext& ctx);
void GroupActionClick(StoreContext& ctx, int kind);  // N16 .. N31: CopyGroupText(kind, tag of N16)

}  // namespace cvu
