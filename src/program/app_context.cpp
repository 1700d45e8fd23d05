#include "program/app_context.h"

#include "links/history_page.h"

namespace cvu {

AppContext::AppContext(UiThread& uiThread, const Clock& clk, Clipboard& cb, Dialogs& dlg, MainControls& mainWindow)
    : UploadContext(uiThread, clk, cb, dlg, mainWindow) {
  historyRecorded = [this] { RefreshHistoryPage(main, history); };
  fullHistoryLoaded = [this] {
    if (history.FullHistoryShown) FillHistoryView(main.CV_Links_Table(), history, true);
  };
}

AppContext::~AppContext() {
  uploadWorkers.close({});
  versionChecks.close({});
  historyLoads.close({});
}

}  // namespace cvu
