#pragma once
// The settings row CVU_DATA: loading it into the main window at start, the immediate
// option writes, the own-code templates and the write at exit.
#include <string>

#include "store/store_context.h"

namespace cvu {

// Fills the window and AccountValues from the database, places the window, resets the
// upload state and the history, loads the full history. Returns false when the program
// must end (the database cannot be used; the user has been told).
// With loadHistoryNow false the caller reads the history itself later (the window shows
// first and the program reads it on a worker thread; a long history then does not delay it).
bool LoadSettings(StoreContext& ctx, bool loadHistoryNow = true);

// The start-up load of the full history; a failing query is shown in a message box.
void LoadFullHistoryShowingFailures(StoreContext& ctx);

// Writes the settings row and closes the database. Does nothing when the database is
// not open (the start failed). A refused write is shown in a message box.
void SaveSettings(StoreContext& ctx);

// Writes the three own-code templates; a failure is logged as error 068.
void SaveMyCodeTemplates(StoreContext& ctx);

// Option check boxes: each writes its column at once.
void CVU_ConfirmDeleteClick(StoreContext& ctx);
void CVU_TitleInfoClick(StoreContext& ctx);
void CVU_AutoUploadClick(StoreContext& ctx);
void CVU_StartAutoUploadClick(StoreContext& ctx);
void CVU_SendAnonymousClick(StoreContext& ctx);

// The login's statements: store the four account texts, or empty them. Throw
// DatabaseError when the database refuses the write.
void SaveCredentials(StoreContext& ctx, const std::string& hash, const std::string& id, const std::string& name,
                     const std::string& secure);
void ClearStoredCredentials(StoreContext& ctx);

}  // namespace cvu
