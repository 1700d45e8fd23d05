#pragma once
// The user's data folder, where the windowed program keeps its database (its launcher
// changes into it): the command line's default database is the same file, so the
// window's full history shows every upload made here.
#include <stdexcept>
#include <string>

namespace cvu::cli {

// A data folder that cannot be found or made; what() says why, for the user.
class DataFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// $XDG_DATA_HOME/corvane-uploader; ~/.local/share/corvane-uploader where XDG_DATA_HOME
// is unset, empty or relative. Empty when HOME is needed but unset or empty.
std::string DataFolderPath(const char* xdgDataHome, const char* home);

// The supplied database for a command at `executable`: installed, in share/corvane-uploader
// beside its bin/; in the build tree, beside it. Empty when neither file exists.
std::string SuppliedDatabasePath(const std::string& executable);

// Makes the folder and copies the supplied database into it unless one is there already
// (never replaced; of two first uses at once one copy wins). The folder is the user's
// alone (0700), the database too (0600): it holds the account's password. A wider folder
// or database is narrowed. Returns the database's path; throws DataFolderError.
std::string PrepareDataFolder(const std::string& folder, const std::string& supplied);

// PrepareDataFolder for this process: the folder from its environment, the supplied
// database from its executable.
std::string PrepareOwnDataFolder();

}  // namespace cvu::cli
