#pragma once
// The settings row CVU_DATA: loading it into the main window at start, the immediate
// option writes, the own-code templates and the write at exit.
#include <string>

#include "common/app_context.h"

namespace cvu {

// Fills the window and AccountValues from the database, places the window, resets the
// upload state and the history, loads the full history. Returns false when the program
// must end (the database cannot be used; the user has been told).
// With loadHistoryNow false the caller runs LoadFullHistory itself later (the window
// shows first; a long history then does not delay it).
bool LoadSettings(AppContext& ctx, bool loadHistoryNow = true);

// The start-up load of the full history; a failing query is shown in a message box.
void LoadFullHistoryShowingFailures(AppContext& ctx);

// Writes the settings row and closes the database. Does nothing when the database is
// not open (the start failed). A refused write is shown in a message box.
void SaveSettings(AppContext& ctx);

// Writes the three own-code templates; a failure is logged as error 068.
void SaveMyCodeTemplates(AppContext& ctx);

// Option check boxes: each writes its column at once.
void CVU_ConfirmDeleteClick(AppContext& ctx);
void CVU_TitleInfoClick(AppContext& ctx);
void CVU_AutoUploadClick(AppContext& ctx);
void CVU_StartAutoUploadClick(AppContext& ctx);
void CVU_SendAnonymousClick(AppContext& ctx);

// The login's statements: store the four account texts, or empty them. Throw
// DatabaseError when the database refuses the write.
void SaveCredentials(AppContext& ctx, const std::string& hash, const std::string& id, const std::string& name,
                     const std::string& secure);
void ClearStoredCredentials(AppContext& ctx);

}  // namespace cvu
