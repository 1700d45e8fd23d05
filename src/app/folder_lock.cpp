#include "app/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace cvu {
namespace {

constexpr int kAttempts = 3;

std::string HolderText() {
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return std::to_string(getpid()) + "\n" + (error ? std::string() : exe.filename().string()) + "\n" + host + "\n";
}

// For people and earlier versions; the lock holds without it.
bool WriteHolder(int fd) {
  const std::string text = HolderText();
  return ftruncate(fd, 0) == 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// The file at the path is still the one locked: its last holder may have removed it
// between our opening and our locking, and a lock on a removed file keeps nobody out.
bool StillNamed(int fd, const std::string& path) {
  struct stat held {};
  struct stat named {};
  return fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

}  // namespace

bool FolderLock::tryLock() {
  if (isLocked()) return true;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      close(fd);
      return false;
    }
    if (!StillNamed(fd, path_)) {
      close(fd);
      continue;
    }
    (void)WriteHolder(fd);
    fd_ = fd;
    return true;
  }
  return false;
}

void FolderLock::unlock() {
  if (!isLocked()) return;
  // Removed while still locked, so whoever opened it meanwhile finds it gone.
  unlink(path_.c_str());
  close(fd_);
  fd_ = -1;
}

}  // namespace cvu
