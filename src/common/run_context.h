#pragma once
// What one run shares, of the kinds the lowest layer knows: the desktop services, the
// main window's controls, the log, the account and upload state, the request settings
// and the worker chains. The store adds the history and the database (StoreContext);
// the program owns the whole (AppContext). Reached by reference, never copied.
#include <functional>
#include <memory>
#include <string>

#include "common/account.h"
#include "common/clipboard.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/http_settings.h"
#include "common/log.h"
#include "common/main_controls.h"
#include "common/ui_thread.h"
#include "common/upoptions_controls.h"
#include "common/worker_chain.h"

namespace cvu {

struct RunContext {
  RunContext(UiThread& uiThread, const Clock& clk, Clipboard& cb, Dialogs& dlg, MainControls& mainWindow)
      : ui(uiThread),
        clock(clk),
        clipboard(cb),
        dialogs(dlg),
        main(mainWindow),
        log(uiThread, clk, mainWindow.CVU_LOGLIST()) {}
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  void AddLogLine(const std::string& message, const std::string& argument) { log.AddLogLine(message, argument); }

  UiThread& ui;
  const Clock& clock;
  Clipboard& clipboard;
  Dialogs& dialogs;
  MainControls& main;
  ActivityLog log;

  AccountValues account;  // AccountValues
  UploadState upload;

  // Time-outs and the shutdown stop of every HTTP client the program makes
  // (HttpClient client(ctx.http)); closing the program calls ctx.http.abort->abort().
  HttpSettings http{.abort = std::make_shared<AbortSignal>()};
  // Called while a request made on the UI thread waits (login, albums); the front end
  // fills it with event processing so the window stays responsive.
  std::function<void()> uiWaitHook;

  // The upload options window, read by the upload worker for every file.
  UpOptionsControls* upOptions = nullptr;

  // A login has started and was neither reset nor failed: a further login does nothing.
  bool LoginAttempted = false;

  // The version checks started when the main window is shown.
  WorkerChain versionChecks;
  // The upload workers. The program closes both chains before anything else ends.
  WorkerChain uploadWorkers;
};

}  // namespace cvu
