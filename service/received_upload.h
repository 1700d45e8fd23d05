#pragma once
// What an upload post carried: its fields in order, and its file part written to disk as it
// arrives. Memory stays small whatever the body holds: text beyond kMaxTextSize and file bytes
// beyond the file limit are dropped (the upload is then too large), as are parts after the
// form's last (the form is then unexpected). The body is still read to its end, so the answer
// follows it on a connection in step. The received file is removed unless it was stored.
#include <httplib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "service/image_store.h"

namespace cvu::service {

class ReceivedUpload {
 public:
  ReceivedUpload(ImageStore& store, std::uint64_t maxFileSize);
  ~ReceivedUpload();
  ReceivedUpload(const ReceivedUpload&) = delete;
  ReceivedUpload& operator=(const ReceivedUpload&) = delete;

  // The content receivers; false stops reading (the file cannot be written).
  bool begin(const httplib::MultipartFormData& part);
  bool take(const char* data, std::size_t size);
  // Closes the file once the body has been read; false when it could not be written whole.
  bool finish();

  bool tooLarge() const { return tooLarge_; }
  bool writeFailed() const { return writeFailed_; }
  // The fields the client sends, in its order, and nothing more.
  bool inOrder() const;
  std::string value(const std::string& name) const;
  const std::filesystem::path& file() const { return file_; }

 private:
  ImageStore& store_;
  const std::uint64_t maxFileSize_;
  std::vector<std::pair<std::string, std::string>> fields_;  // the file part's value is its file name
  std::filesystem::path file_;
  std::ofstream out_;
  bool inFile_ = false;
  bool dropping_ = false;  // the current part is not kept
  bool extraParts_ = false;
  bool tooLarge_ = false;
  bool writeFailed_ = false;
  std::uint64_t textBytes_ = 0;
  std::uint64_t fileBytes_ = 0;
};

}  // namespace cvu::service
