#pragma once
// The start-up read of the full history, off the UI thread.
#include "program/app_context.h"

namespace cvu {

// Reads CVU_HISTORY on ctx.historyLoads and installs it on the UI thread when done;
// meanwhile ctx.history.FullHistoryLoading is set. UI thread.
void StartHistoryLoad(AppContext& ctx);

}  // namespace cvu
