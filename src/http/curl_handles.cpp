#include "http/curl_handles.h"

#include "http/http_error.h"

namespace cvu {

void EnsureCurlInitialised() {
  // A static's initialisation runs once even when threads race to it; libcurl's global
  // set-up (its TLS library's among them) is not to be repeated.
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (initialised != CURLE_OK) throw HttpError("libcurl could not be initialised");
}

}  // namespace cvu
