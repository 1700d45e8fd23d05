#pragma once
// What a paste into the upload list adds: the file a pasted picture is saved as, and
// the files named by pasted text.
#include <functional>
#include <string>
#include <vector>

#include "common/clock.h"

namespace cvu {

// The folder pasted pictures are saved in: "pasted" beside the database.
std::string PastedFolder(const std::string& databasePath);

// Makes the pasted folder when it is missing, for the user alone like the data folder it
// is in: a picture from the clipboard may be private. False when it cannot be made.
bool MakePastedFolder(const std::string& folder);

// folder + "/2026-12-08_14-35-09.png" for the given time; when that name is taken,
// "_2", "_3", ... before ".png".
std::string PastedImagePath(const std::string& folder, const LocalDateTime& at,
                            const std::function<bool(const std::string&)>& taken);

// The files named by pasted text, in order: each line that is a file URL (its
// percent-escapes decoded byte for byte) or an absolute path. Other lines are skipped.
std::vector<std::string> PathsFromPastedText(const std::string& text);

}  // namespace cvu
