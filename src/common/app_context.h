#pragma once
// Everything the program's operations share for one run: the desktop services,
// the main window's controls, the log, the account and upload state, the history
// and the database connection. Owned by main() (or a test), reached by reference.
#include <functional>
#include <memory>
#include <string>

#include "common/account.h"
#include "common/clipboard.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/log.h"
#include "common/main_controls.h"
#include "common/ui_thread.h"
#include "common/upoptions_controls.h"
#include "common/worker_chain.h"
#include "http/http_settings.h"
#include "store/app_database.h"
#include "store/history.h"

namespace cvu {

struct AppContext {
  AppContext(UiThread& uiThread, const Clock& clk, Clipboard& cb, Dialogs& dlg, MainControls& mainWindow)
      : ui(uiThread), clock(clk), clipboard(cb), dialogs(dlg), main(mainWindow), log(uiThread, clk, mainWindow.CVU_LOGLIST()) {}
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  void AddLogLine(const std::string& message, const std::string& argument) { log.AddLogLine(message, argument); }

  UiThread& ui;
  const Clock& clock;
  Clipboard& clipboard;
  Dialogs& dialogs;
  MainControls& main;
  ActivityLog log;

  AccountValues account;  // AccountValues
  UploadState upload;
  History history;
  AppDatabase db;  // AppDatabase
  std::string databasePath = "cvxas.common.dll";  // resolved against the working directory

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

  // The upload workers. Last member: destroyed first, so no worker outlives the rest.
  WorkerChain uploadWorkers;
};

}  // namespace cvu
