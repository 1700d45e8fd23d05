#pragma once
// Owning handles for the libcurl objects the HTTP layer uses.
#include <curl/curl.h>

#include <memory>

namespace cvu {

struct CurlEasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct CurlMultiDeleter {
  void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};
struct CurlSlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct CurlMimeDeleter {
  void operator()(curl_mime* m) const { curl_mime_free(m); }
};
struct CurlUrlDeleter {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

using CurlEasyPtr = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlMultiPtr = std::unique_ptr<CURLM, CurlMultiDeleter>;
using CurlSlistPtr = std::unique_ptr<curl_slist, CurlSlistDeleter>;
using CurlMimePtr = std::unique_ptr<curl_mime, CurlMimeDeleter>;
using CurlUrlPtr = std::unique_ptr<CURLU, CurlUrlDeleter>;

// Initialises libcurl once per process, before the first handle is made; safe to call
// from any thread. Throws HttpError when libcurl cannot be initialised.
void EnsureCurlInitialised();

}  // namespace cvu
