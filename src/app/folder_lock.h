#pragma once
// The lock file beside the database that keeps a second program off the folder: an
// advisory lock (flock) on it, which the system lets go when the holder ends, however
// it ends, so a file left by a crash never blocks. The file names its holder (process
// id, program, host) as earlier versions wrote it; they lock the file the same way, so
// each sees the other's lock. Nothing is forced to the disk: the lock lives in the
// system, not in the file's bytes.
#include <string>

namespace cvu {

class FolderLock {
 public:
  explicit FolderLock(std::string path) : path_(std::move(path)) {}
  ~FolderLock() { unlock(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // True when this object now holds the lock; false at once when another does.
  bool tryLock();
  bool isLocked() const { return fd_ >= 0; }
  // Removes the file, then lets go of the lock.
  void unlock();

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace cvu
