#pragma once
// Sending the upload list to the service, one file per worker thread, as one group on
// the history page.
#include <string>

#include "store/store_context.h"

namespace cvu {

// "Загрузить" starts a run; while a run goes on ("Остановить загрузку") it asks the run
// to stop after the file in progress.
void CVU_UploadBtnClick(StoreContext& ctx);

// Starts one worker for the head of the upload list.
void StartUploadWorker(StoreContext& ctx);

// True when the path names an existing entry that is not a folder. Nothing is opened.
bool IsExistingFile(const std::string& path);

}  // namespace cvu
