#pragma once
// libcurl's functions, taken from the library when the first request needs them rather
// than when the program starts: libcurl and the libraries it brings with it (TLS,
// Kerberos, LDAP, SSH ...) would otherwise delay the window's first appearance by about
// 10 ms, while the first request is made only once the window is up.
#include <curl/curl.h>

namespace cvu {

struct CurlLibrary {
  decltype(&::curl_global_init) global_init;
  decltype(&::curl_easy_init) easy_init;
  decltype(&::curl_easy_cleanup) easy_cleanup;
  decltype(&::curl_easy_reset) easy_reset;
  decltype(&::curl_easy_setopt) easy_setopt;
  decltype(&::curl_easy_strerror) easy_strerror;
  decltype(&::curl_multi_init) multi_init;
  decltype(&::curl_multi_cleanup) multi_cleanup;
  decltype(&::curl_multi_add_handle) multi_add_handle;
  decltype(&::curl_multi_remove_handle) multi_remove_handle;
  decltype(&::curl_multi_perform) multi_perform;
  decltype(&::curl_multi_poll) multi_poll;
  decltype(&::curl_multi_wakeup) multi_wakeup;
  decltype(&::curl_multi_info_read) multi_info_read;
  decltype(&::curl_slist_append) slist_append;
  decltype(&::curl_slist_free_all) slist_free_all;
  decltype(&::curl_mime_init) mime_init;
  decltype(&::curl_mime_free) mime_free;
  decltype(&::curl_mime_addpart) mime_addpart;
  decltype(&::curl_mime_name) mime_name;
  decltype(&::curl_mime_data) mime_data;
  decltype(&::curl_mime_filedata) mime_filedata;
  decltype(&::curl_mime_filename) mime_filename;
  decltype(&::curl_mime_type) mime_type;
  decltype(&::curl_url) url;
  decltype(&::curl_url_cleanup) url_cleanup;
  decltype(&::curl_url_set) url_set;
  decltype(&::curl_url_get) url_get;
  decltype(&::curl_url_strerror) url_strerror;
  decltype(&::curl_free) free;
  decltype(&::curl_getdate) getdate;
};

// The library, loaded and initialised on the first call (from any thread); it stays
// loaded until the process ends. Throws HttpError when it cannot be loaded, or lacks
// a function the client uses.
const CurlLibrary& Curl();

}  // namespace cvu
