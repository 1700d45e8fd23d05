#include "http/file_part_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace cvu {

CURLcode FilePartSource::attach(curl_mimepart* part) {
  return curl_mime_data_cb(part, file_.size(), &FilePartSource::Read, &FilePartSource::Seek, nullptr, this);
}

std::size_t FilePartSource::Read(char* buffer, std::size_t size, std::size_t count, void* self) {
  auto& source = *static_cast<FilePartSource*>(self);
  const auto left = static_cast<std::size_t>(source.file_.size() - source.offset_);
  const std::size_t wanted = std::min(size * count, left);
  if (wanted == 0) return 0;
  ssize_t got = 0;
  do {
    got = ::pread(source.file_.fd(), buffer, wanted, source.offset_);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    source.failure_ = std::string(curl_easy_strerror(CURLE_READ_ERROR)) + ": " + source.file_.path();
    return CURL_READFUNC_ABORT;
  }
  source.offset_ += got;
  return static_cast<std::size_t>(got);
}

// libcurl goes back to the start when it sends the body again.
int FilePartSource::Seek(void* self, curl_off_t offset, int origin) {
  auto& source = *static_cast<FilePartSource*>(self);
  if (origin != SEEK_SET || offset < 0 || offset > source.file_.size()) return CURL_SEEKFUNC_CANTSEEK;
  source.offset_ = offset;
  return CURL_SEEKFUNC_OK;
}

}  // namespace cvu
