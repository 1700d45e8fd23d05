#pragma once
// A multipart/form-data body to post: parts in the order they were added. File parts
// are read while the body is sent, never held whole: from the open file they were given
// (which must stay open until the post returns), or else from their path, opened then.
#include <string>
#include <vector>

#include "common/regular_file.h"

namespace cvu {

struct FormPart {
  std::string name;
  std::string value;        // text part: the value; file part: the local path
  std::string contentType;  // file part only
  bool isFile = false;
  const RegularFile* file = nullptr;  // file part: its open file, if it was given one
};

class MultipartForm {
 public:
  void addText(const std::string& name, const std::string& value) { parts_.push_back({name, value, {}, false}); }
  void addFile(const std::string& name, const std::string& path, const std::string& contentType) {
    parts_.push_back({name, path, contentType, true});
  }
  // The part takes the file's bytes as they are when the body is sent, whatever has
  // become of its path meanwhile.
  void addFile(const std::string& name, const RegularFile& file, const std::string& contentType) {
    parts_.push_back({name, file.path(), contentType, true, &file});
  }
  const std::vector<FormPart>& parts() const { return parts_; }

 private:
  std::vector<FormPart> parts_;
};

}  // namespace cvu
