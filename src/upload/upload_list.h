#pragma once
// The upload list: files in, files out, and the automatic start after adding files.
#include <string>
#include <vector>

#include "upload/upload_context.h"

namespace cvu {

// The open-file dialog's filter: four choices, the first selected.
inline constexpr const char* kOpenFilesFilter =
    "Все доступные форматы|*.jpg; *.jpeg; *.png; *.gif|JPG, JPEG|*.jpg; *.jpeg|PNG|*.png|GIF|*.gif";

// Whether a dropped path names an image by its extension (ASCII letters lower-cased).
bool HasImageExtension(const std::string& path);

// "Открыть файлы": appends the chosen paths, then the automatic start when enabled.
void CVU_OpenFilesBtnClick(UploadContext& ctx);

// Files dropped on the main window, in the order the desktop gives them.
void DropFiles(UploadContext& ctx, const std::vector<std::string>& paths);

// "Удалить изображения из списка" (Del): removes the selected entries, asking first
// when CVU_ConfirmDelete is ticked. Ignored during a run.
void N10Click(StoreContext& ctx);

// The question that N10Click asks for the selected entries.
std::string RemovalQuestion(const ListBox& list);

// Starts the upload at once or after a question. While a run goes on it does nothing:
// the files just added join the running group.
void AutomaticStart(UploadContext& ctx);

}  // namespace cvu
