#pragma once
// The run's shared state with the upload history and the database connection.
#include <functional>
#include <string>

#include "common/identity.h"
#include "common/run_context.h"
#include "store/app_database.h"
#include "store/history.h"

namespace cvu {

struct StoreContext : RunContext {
  using RunContext::RunContext;

  History history;
  AppDatabase db;                                // AppDatabase
  std::string databasePath = kDatabaseFileName;  // resolved against the working directory

  // Refreshes the history page after an image was recorded; set by the program, which
  // knows the page. Empty: nothing to refresh.
  std::function<void()> historyRecorded;
  // Shows the full history anew once its start-up read is installed (when it is shown).
  std::function<void()> fullHistoryLoaded;
};

}  // namespace cvu
