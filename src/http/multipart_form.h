#pragma once
// A multipart/form-data body to post: parts in the order they were added. File
// parts hold only the path; the bytes are read from disk while the body is sent.
#include <string>
#include <vector>

namespace cvu {

struct FormPart {
  std::string name;
  std::string value;        // text part: the value; file part: the local path
  std::string contentType;  // file part only
  bool isFile = false;
};

class MultipartForm {
 public:
  void addText(const std::string& name, const std::string& value) { parts_.push_back({name, value, {}, false}); }
  void addFile(const std::string& name, const std::string& path, const std::string& contentType) {
    parts_.push_back({name, path, contentType, true});
  }
  const std::vector<FormPart>& parts() const { return parts_; }

 private:
  std::vector<FormPart> parts_;
};

}  // namespace cvu
