#pragma once
// A failed request: what() is the text the callers log (the answer's status line
// exactly as received, or the network error's text); location() is the Location
// header of the answer that failed, empty when there was none or no answer came.
#include <stdexcept>
#include <string>

namespace cvu {

class HttpError : public std::runtime_error {
 public:
  explicit HttpError(const std::string& text, std::string location = {})
      : std::runtime_error(text), location_(std::move(location)) {}
  const std::string& location() const { return location_; }

 private:
  std::string location_;
};

// The two redirect status lines that the upload, login and album requests never log:
// the upload expects its redirect, and the others treat it as no news.
inline bool IsUnloggedRedirect(const std::string& text) {
  return text == "HTTP/1.1 302 Found" || text == "HTTP/1.1 302 Moved Temporarily";
}

}  // namespace cvu
