#pragma once
// Everything one run shares, owned by main() (or a test): the store's state with the
// history page wired to it. The worker chains end first, so no worker outlives the rest.
#include "upload/upload_context.h"

namespace cvu {

struct AppContext : UploadContext {
  AppContext(UiThread& uiThread, const Clock& clk, Clipboard& cb, Dialogs& dlg, MainControls& mainWindow);
  ~AppContext();

  // The start-up read of the full history (StartHistoryLoad).
  WorkerChain historyLoads;
};

}  // namespace cvu
