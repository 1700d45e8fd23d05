#include "curl_upload_loop.h"

#include <string_view>

#include "common/text.h"
#include "http/curl_handles.h"
#include "http/session.h"

namespace cvu::bench {
namespace {

std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

std::size_t KeepLocation(char* data, std::size_t size, std::size_t count, void* location) {
  std::string_view line(data, size * count);
  if (line.size() > 10 && (line.starts_with("Location: ") || line.starts_with("location: "))) {
    line.remove_prefix(10);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    *static_cast<std::string*>(location) = line;
  }
  return size * count;
}

// The settings every request of the program carries: user agent, Cookie line, no Expect.
CurlSlistPtr Prepare(CURL* easy, const std::string& url) {
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
  curl_slist* list = curl_slist_append(nullptr, SessionCookieLine(true, AccountValues::Anonymous()).c_str());
  list = curl_slist_append(list, "Expect:");
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
  return CurlSlistPtr(list);
}

void AddText(curl_mime* mime, const char* name, const std::string& value) {
  curl_mimepart* part = curl_mime_addpart(mime);
  curl_mime_name(part, name);
  curl_mime_data(part, value.data(), value.size());
}

std::string Post(const std::string& url, const UploadOptionValues& o, const std::string& file) {
  const CurlEasyPtr easy(curl_easy_init());
  const CurlSlistPtr headers = Prepare(easy.get(), url);
  const CurlMimePtr mime(curl_mime_init(easy.get()));
  AddText(mime.get(), "quality", o.quality);
  AddText(mime.get(), "filter", o.filter);
  AddText(mime.get(), "thumbtext", o.thumbtext);
  AddText(mime.get(), "title", o.title);
  AddText(mime.get(), "album_id", o.album_id);
  AddText(mime.get(), "nod", o.nod);
  AddText(mime.get(), "published", o.published);
  curl_mimepart* part = curl_mime_addpart(mime.get());
  curl_mime_name(part, "imgfile[]");
  curl_mime_filedata(part, file.c_str());
  curl_mime_filename(part, LastPathComponent(file).c_str());
  curl_mime_type(part, "image/png");
  curl_easy_setopt(easy.get(), CURLOPT_MIMEPOST, mime.get());
  std::string body, location;
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &KeepBody);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, &KeepLocation);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, &location);
  return curl_easy_perform(easy.get()) == CURLE_OK ? location : std::string();
}

std::string Get(const std::string& url) {
  const CurlEasyPtr easy(curl_easy_init());
  const CurlSlistPtr headers = Prepare(easy.get(), url);
  std::string body;
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &KeepBody);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
  return curl_easy_perform(easy.get()) == CURLE_OK ? body : std::string();
}

}  // namespace

CurlLoopCounts CurlUploadLoop(const std::string& host, const UploadOptionValues& options,
                              const std::vector<std::string>& files) {
  EnsureCurlInitialised();
  CurlLoopCounts counts;
  for (const auto& file : files) {
    const std::string location = Post("http://" + host + "//upload.html", options, file);
    if (location.empty()) continue;
    ++counts.accepted;
    if (Get("http://" + host + "/" + location).find("<!--{Information:{ID:") != std::string::npos) ++counts.pages;
  }
  return counts;
}

}  // namespace cvu::bench
