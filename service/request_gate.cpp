#include "service/request_gate.h"

#include <algorithm>
#include <cctype>

#include "service/pages.h"

namespace cvu::service {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Content-Length as a number; false when it is not one plain decimal number.
bool ParseLength(const std::string& text, std::uint64_t& length) {
  if (text.empty() || text.size() > 19 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return false;
  }
  length = std::stoull(text);
  return true;
}

std::string RefusalText(int status) {
  switch (status) {
    case 411:
      return "A request body must come with its Content-Length";
    case 413:
      return "The request is too large";
    case 415:
      return "Compressed request bodies are not accepted";
    default:
      return "Bad request";
  }
}

}  // namespace

bool IsUploadRequest(const httplib::Request& req) {
  const auto name = req.path.find_first_not_of('/');
  return req.method == "POST" && name != 0 && name != std::string::npos && req.path.substr(name) == "upload.html";
}

std::uint64_t MaxUploadBody(std::uint64_t maxFileSize) { return maxFileSize + 2 * kMaxTextSize; }

int RefusalBeforeBody(const httplib::Request& req, std::uint64_t maxBody) {
  const std::string encoding = Lower(req.get_header_value("Content-Encoding"));
  if (!encoding.empty() && encoding != "identity") return 415;
  if (req.has_header("Transfer-Encoding")) return 411;
  if (!req.has_header("Content-Length")) return 0;
  std::uint64_t length = 0;
  if (req.get_header_value_count("Content-Length") > 1 ||
      !ParseLength(req.get_header_value("Content-Length"), length)) {
    return 400;
  }
  return length > maxBody ? 413 : 0;
}

void Refuse(httplib::Response& res, int status) {
  res.status = status;
  res.set_header("Connection", "close");
  res.set_content(NoticePage("red", RefusalText(status)), "text/html; charset=utf-8");
}

}  // namespace cvu::service
