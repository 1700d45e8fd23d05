#include "http/url.h"

#include <algorithm>
#include <cctype>

#include "common/text.h"
#include "http/curl_handles.h"
#include "http/http_error.h"

namespace cvu {
namespace {

CurlUrlPtr ParsedUrl(const std::string& url) {
  CurlUrlPtr handle(curl_url());
  const CURLUcode rc = curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0);
  if (rc != CURLUE_OK) throw HttpError(curl_url_strerror(rc));
  return handle;
}

std::string Part(CURLU* handle, CURLUPart which) {
  char* text = nullptr;
  if (curl_url_get(handle, which, &text, 0) != CURLUE_OK || text == nullptr) return {};
  std::string result(text);
  curl_free(text);
  return result;
}

}  // namespace

UrlParts SplitUrl(const std::string& url) {
  const CurlUrlPtr handle = ParsedUrl(url);
  UrlParts parts{Part(handle.get(), CURLUPART_HOST), Part(handle.get(), CURLUPART_PATH)};
  parts.host = AsciiLower(parts.host);
  if (parts.path.empty()) parts.path.push_back('/');
  return parts;
}

std::string ResolveUrl(const std::string& base, const std::string& ref) {
  const CurlUrlPtr handle = ParsedUrl(base);
  // On a handle that holds a URL, a second URL is read relative to the first.
  const CURLUcode rc = curl_url_set(handle.get(), CURLUPART_URL, ref.c_str(), 0);
  if (rc != CURLUE_OK) throw HttpError(curl_url_strerror(rc));
  return Part(handle.get(), CURLUPART_URL);
}

bool SameOrigin(const std::string& a, const std::string& b) {
  const auto origin = [](const std::string& url) {
    CurlUrlPtr handle(curl_url());
    if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::string();
    const std::string host = AsciiLower(Part(handle.get(), CURLUPART_HOST));
    char* port = nullptr;
    std::string portText;
    if (curl_url_get(handle.get(), CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK && port) portText = port;
    curl_free(port);
    return Part(handle.get(), CURLUPART_SCHEME) + "://" + host + ":" + portText;
  };
  const std::string first = origin(a);
  return !first.empty() && first == origin(b);
}

}  // namespace cvu
