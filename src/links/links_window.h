#pragma once
// Filling and laying out the links window.
#include "common/links_controls.h"
#include "store/store_context.h"

namespace cvu {

// Fills the window for the image selected in the history list and shows it; does
// nothing unless exactly one item is selected. A failure is logged as error 063.
void ShowLinksWindow(StoreContext& ctx, LinksControls& window);

// Outer height 468 with the thumbnail row, 420 without; rows 5 to 7 move accordingly.
void SetThumbnailLayout(LinksControls& window, bool shown);

// A row's copy button: copies the field's current text; reports nothing.
void CopyLinksRow(StoreContext& ctx, LinksControls& window, int row);

}  // namespace cvu
