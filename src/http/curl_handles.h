#pragma once
// Owning handles for the libcurl objects the HTTP layer uses.
#include "http/curl_library.h"

#include <memory>

namespace cvu {

struct CurlEasyDeleter {
  void operator()(CURL* h) const { Curl().easy_cleanup(h); }
};
struct CurlMultiDeleter {
  void operator()(CURLM* h) const { Curl().multi_cleanup(h); }
};
struct CurlSlistDeleter {
  void operator()(curl_slist* l) const { Curl().slist_free_all(l); }
};
struct CurlMimeDeleter {
  void operator()(curl_mime* m) const { Curl().mime_free(m); }
};
struct CurlUrlDeleter {
  void operator()(CURLU* u) const { Curl().url_cleanup(u); }
};

using CurlEasyPtr = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlMultiPtr = std::unique_ptr<CURLM, CurlMultiDeleter>;
using CurlSlistPtr = std::unique_ptr<curl_slist, CurlSlistDeleter>;
using CurlMimePtr = std::unique_ptr<curl_mime, CurlMimeDeleter>;
using CurlUrlPtr = std::unique_ptr<CURLU, CurlUrlDeleter>;

// Loads and initialises libcurl once per process; safe to call from any thread.
void EnsureCurlInitialised();

}  // namespace cvu
