#pragma once
// The bytes of a form's file part, read from its open file while the body is sent, so
// no later change of its path (a FIFO put in its place, say) can block or alter them.
#include <curl/curl.h>

#include <string>

#include "common/regular_file.h"

namespace cvu {

class FilePartSource {
 public:
  // failure receives the reason should the file fail to read (or turn out shorter than
  // when it was opened); the transfer then ends.
  FilePartSource(const RegularFile& file, std::string& failure) : file_(file), failure_(failure) {}
  FilePartSource(const FilePartSource&) = delete;
  FilePartSource& operator=(const FilePartSource&) = delete;

  // Makes part take the file's bytes, as many as it had when it was opened.
  CURLcode attach(curl_mimepart* part);

 private:
  static std::size_t Read(char* buffer, std::size_t size, std::size_t count, void* self);
  static int Seek(void* self, curl_off_t offset, int origin);

  const RegularFile& file_;
  std::string& failure_;
  curl_off_t offset_ = 0;
};

}  // namespace cvu
