#pragma once
// A regular file opened for reading and kept open, so what was checked is what is read,
// whatever later becomes of its path.
#include <cstdint>
#include <optional>
#include <string>

namespace cvu {

class RegularFile {
 public:
  // Opens path without blocking (a FIFO would wait for a writer for ever) and checks on
  // the open file that it is a regular one, so a link to a device is refused too. Empty
  // when the path cannot be opened or names no regular file.
  static std::optional<RegularFile> Open(const std::string& path);

  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile();

  int fd() const { return fd_; }
  std::int64_t size() const { return size_; }  // when it was opened
  const std::string& path() const { return path_; }

 private:
  RegularFile(int fd, std::int64_t size, std::string path) : fd_(fd), size_(size), path_(std::move(path)) {}

  int fd_ = -1;
  std::int64_t size_ = 0;
  std::string path_;
};

}  // namespace cvu
