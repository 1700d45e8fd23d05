#pragma once
// Ctrl+V and Shift+Insert on the upload page: a picture on the clipboard is saved as a
// PNG file beside the database, copied files and pasted file names are taken as a drop.
#include <functional>

class QWidget;

namespace cvu {

struct AppContext;

// Adds what the clipboard holds to the upload list, then starts as after a drop.
// Nothing that fits: nothing happens.
void PasteIntoUploadList(AppContext& ctx);

// The two paste keys of the window while page is shown, each running paste (wrapped by
// the caller's handler runner).
void InstallPasteKeys(QWidget* page, const std::function<void()>& paste);

}  // namespace cvu
