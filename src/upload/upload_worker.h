#pragma once
// Sending the upload list to the service, one file per worker, as one group on the
// history page.
#include "upload/upload_context.h"

namespace cvu {

// The upload button's two captions: no run, and a run that a click would stop.
inline constexpr const char* kStartCaption = "Загрузить";
inline constexpr const char* kStopCaption = "Остановить загрузку";

// "Загрузить" starts a run; while a run goes on ("Остановить загрузку") it asks the run
// to stop after the file in progress.
void CVU_UploadBtnClick(UploadContext& ctx);

// Starts one worker for the head of the upload list.
void StartUploadWorker(UploadContext& ctx);

}  // namespace cvu
