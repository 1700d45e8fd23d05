#include "service/received_upload.h"

#include "service/request_gate.h"

namespace cvu::service {
namespace {

// The upload form, field by field, in the order the client sends it.
const std::vector<std::string> kUploadFields = {"quality",  "filter", "thumbtext", "title",
                                                "album_id", "nod",    "published", "imgfile[]"};

}  // namespace

ReceivedUpload::ReceivedUpload(ImageStore& store, std::uint64_t maxFileSize)
    : store_(store), maxFileSize_(maxFileSize) {}

ReceivedUpload::~ReceivedUpload() {
  out_.close();
  std::error_code ignored;
  if (!file_.empty()) std::filesystem::remove(file_, ignored);  // gone already when it was stored
}

bool ReceivedUpload::begin(const httplib::MultipartFormData& part) {
  inFile_ = !part.filename.empty();
  dropping_ = fields_.size() == kUploadFields.size() || (inFile_ && !file_.empty());
  extraParts_ = extraParts_ || dropping_;
  if (dropping_) return true;
  fields_.emplace_back(part.name, inFile_ ? part.filename : std::string());
  if (inFile_) {
    file_ = store_.temporaryFile();
    out_.open(file_, std::ios::binary);
    writeFailed_ = !out_;
  }
  return !writeFailed_;
}

bool ReceivedUpload::take(const char* data, std::size_t size) {
  if (dropping_) return true;
  std::uint64_t& taken = inFile_ ? fileBytes_ : textBytes_;
  taken += size;
  if (taken > (inFile_ ? maxFileSize_ : kMaxTextSize)) {
    tooLarge_ = dropping_ = true;
    return true;
  }
  if (!inFile_) {
    fields_.back().second.append(data, size);
    return true;
  }
  writeFailed_ = !out_.write(data, static_cast<std::streamsize>(size));
  return !writeFailed_;
}

bool ReceivedUpload::finish() {
  if (!out_.is_open()) return true;
  out_.close();
  writeFailed_ = writeFailed_ || !out_;
  return !writeFailed_;
}

bool ReceivedUpload::inOrder() const {
  if (extraParts_ || fields_.size() != kUploadFields.size()) return false;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].first != kUploadFields[i]) return false;
  }
  return true;
}

std::string ReceivedUpload::value(const std::string& name) const {
  for (const auto& [n, v] : fields_) {
    if (n == name) return v;
  }
  return {};
}

}  // namespace cvu::service
