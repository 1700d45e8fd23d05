#pragma once
// The image progress bar follows the transfers of one upload request.
#include "common/controls.h"
#include "common/ui_thread.h"
#include "http/transfer_events.h"
#include "upload/upload_events.h"

namespace cvu {

// Transfer events that move the image's progress bar: begin sets the maximum, progress the
// position, end empties it. The events fire on the worker; the bar is moved on the UI
// thread, at most about two hundred times per transfer, and each move of the request
// body's transfer is told to events (when there are any) as bytes sent of the run's file.
TransferEvents ImageProgressEvents(UiThread& ui, ProgressBar& bar, UploadEvents* events, int file);

}  // namespace cvu
