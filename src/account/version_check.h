#pragma once
// The background check for a newer client version.
#include <string>

#include "store/store_context.h"

namespace cvu {

// True when body is a dotted version (digits and dots only) newer than own, compared
// part by part as numbers: 5.9, 5.10 and 6.0 are newer than 5.8; 5.7.9 and 5.8 are not.
// A body longer than 32 characters is no version.
bool IsNewerVersion(const std::string& body, const std::string& own);

// TCheckVersionThread: one request on a thread of its own. A newer version is
// announced in the status pane, the log and a message box, on the UI thread; every
// failure is silent.
void StartVersionCheck(StoreContext& ctx);

}  // namespace cvu
