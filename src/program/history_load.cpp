#include "program/history_load.h"

#include <memory>
#include <string>
#include <utility>

#include "store/history_store.h"

namespace cvu {
void StartHistoryLoad(AppContext& ctx) {
  ctx.history.FullHistoryLoading = true;
  HistoryReadOptions options;
  options.busyTimeoutMs = ctx.db.busyTimeout();
  options.stopRequested = [&ctx] { return ctx.historyLoads.closing(); };
  const bool started = ctx.historyLoads.start([&ctx, path = ctx.databasePath, options] {
    // Shared: the hand-over is copied into a std::function.
    auto loaded = std::make_shared<LoadedHistory>(ReadHistoryTable(path, options));
    ctx.ui.post([&ctx, loaded] {
      // Once closing has begun the database is about to be closed: nothing to install.
      if (ctx.historyLoads.closing()) return;
      InstallLoadedHistory(ctx, std::move(*loaded));
    });
  });
  if (!started) ctx.history.FullHistoryLoading = false;
}

}  // namespace cvu
