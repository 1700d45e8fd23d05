#include "cli/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/version.h"

namespace cvu::cli {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFolderName = "corvane-uploader";

std::string Why(const std::string& what, const fs::path& path, int error) {
  return what + " " + path.string() + ": " + std::strerror(error);
}

// The folder made private to the user, its parents as the system makes them.
void MakePrivateFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder.parent_path(), ec);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw DataFolderError(Why("cannot make", folder, errno));
  if (!fs::is_directory(folder, ec)) throw DataFolderError(folder.string() + " is not a folder");
}

// Takes the rights of group and others away. A file system without such modes keeps its
// own: the folder stays usable.
void Narrow(const fs::path& path) {
  std::error_code ec;
  const fs::perms perms = fs::status(path, ec).permissions();
  const fs::perms wider = fs::perms::group_all | fs::perms::others_all;
  if (!ec && (perms & wider) != fs::perms::none) fs::permissions(path, wider, fs::perm_options::remove, ec);
}

// A private copy under a name of this process's own, then a hard link to the database's
// name, which never replaces a file.
void CopySupplied(const fs::path& supplied, const fs::path& database) {
  const fs::path copy =
      database.parent_path() / ("." + database.filename().string() + "." + std::to_string(::getpid()));
  std::error_code ec;
  fs::copy_file(supplied, copy, fs::copy_options::overwrite_existing, ec);
  if (ec) throw DataFolderError("cannot copy " + supplied.string() + " to " + copy.string() + ": " + ec.message());
  fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, ec);
  const int linked = ::link(copy.c_str(), database.c_str()) == 0 ? 0 : errno;
  fs::remove(copy, ec);
  if (linked != 0 && linked != EEXIST) throw DataFolderError(Why("cannot make", database, linked));
}

}  // namespace

std::string DataFolderPath(const char* xdgDataHome, const char* home) {
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return (fs::path(xdgDataHome) / kFolderName).string();
  if (home == nullptr || home[0] == '\0') return {};
  return (fs::path(home) / ".local/share" / kFolderName).string();
}

std::string SuppliedDatabasePath(const std::string& executable) {
  const fs::path bin = fs::path(executable).parent_path();
  for (const fs::path& candidate : {bin / CVU_BIN_TO_DATA_DIR / kDatabaseFileName, bin / kDatabaseFileName}) {
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  return {};
}

std::string PrepareDataFolder(const std::string& folder, const std::string& supplied) {
  MakePrivateFolder(folder);
  Narrow(folder);
  const fs::path database = fs::path(folder) / kDatabaseFileName;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(database, ec))) {
    if (supplied.empty()) throw DataFolderError("no database in " + folder + " and no supplied database to copy there");
    CopySupplied(supplied, database);
  }
  Narrow(database);
  return database.string();
}

std::string PrepareOwnDataFolder() {
  const std::string folder = DataFolderPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (folder.empty())
    throw DataFolderError("HOME is not set, so there is no data folder; --database PATH names a database");
  std::error_code ec;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  return PrepareDataFolder(folder, ec ? std::string() : SuppliedDatabasePath(executable.string()));
}

}  // namespace cvu::cli
