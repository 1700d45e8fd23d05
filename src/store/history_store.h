#pragma once
// Recording uploaded images and reading CVU_HISTORY.
#include <string>

#include "store/history_read.h"
#include "store/store_context.h"

namespace cvu {

// Re-reads CVU_HISTORY into FullHistory; the errors 065 and 066 go to the log. UI thread.
void LoadFullHistory(AppDatabase& db, History& history, ActivityLog& log);

// The start-up read of ReadHistoryTable, on the UI thread: logs what LoadFullHistory
// would have logged (a failed read is shown in a message box), installs the list, reads
// the rows recorded meanwhile and calls ctx.fullHistoryLoaded.
void InstallLoadedHistory(StoreContext& ctx, LoadedHistory&& loaded);

// Records one uploaded image: run history, a CVU_HISTORY row, the full history reloaded,
// the history page refreshed (ctx.historyRecorded). Runs on the UI thread. True when the
// row was written.
bool AddHistoryRecord(StoreContext& ctx, const std::string& filePath, int groupId, const std::string& imageId,
                      const std::string& folderId, const std::string& imageName, const std::string& thumbName);

}  // namespace cvu
