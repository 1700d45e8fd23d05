#pragma once
// The image progress bar follows the transfers of one upload request.
#include "http/transfer_events.h"
#include "upload/upload_context.h"

namespace cvu {

// Transfer events that move CVU_PBarImage: begin sets the maximum, progress the
// position, end empties it. The events fire on the worker; the bar is moved on the UI
// thread, at most about two hundred times per transfer, and each move of the request
// body's transfer is told to ctx.uploadEvents as bytes sent of the run's file.
TransferEvents ImageProgressEvents(UploadContext& ctx, int file);

}  // namespace cvu
