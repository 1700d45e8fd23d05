#include "http/curl_library.h"

#include <dlfcn.h>

#include <string>

#include "http/http_error.h"

namespace cvu {
namespace {

// The library's name as the dynamic linker knows it; unchanged since libcurl 7.16.
constexpr const char* kCurlSoname = "libcurl.so.4";

template <typename Function>
void Take(void* library, const char* name, Function& into) {
  void* symbol = ::dlsym(library, name);
  if (symbol == nullptr) throw HttpError(std::string("libcurl lacks ") + name + ": it is older than this program needs");
  into = reinterpret_cast<Function>(symbol);
}

CurlLibrary Load() {
  // Never closed: libcurl cannot be unloaded safely while the process runs.
  void* library = ::dlopen(kCurlSoname, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* why = ::dlerror();
    throw HttpError(std::string("libcurl could not be loaded: ") + (why != nullptr ? why : kCurlSoname));
  }
  CurlLibrary c{};
  Take(library, "curl_global_init", c.global_init);
  Take(library, "curl_easy_init", c.easy_init);
  Take(library, "curl_easy_cleanup", c.easy_cleanup);
  Take(library, "curl_easy_reset", c.easy_reset);
  Take(library, "curl_easy_setopt", c.easy_setopt);
  Take(library, "curl_easy_strerror", c.easy_strerror);
  Take(library, "curl_multi_init", c.multi_init);
  Take(library, "curl_multi_cleanup", c.multi_cleanup);
  Take(library, "curl_multi_add_handle", c.multi_add_handle);
  Take(library, "curl_multi_remove_handle", c.multi_remove_handle);
  Take(library, "curl_multi_perform", c.multi_perform);
  Take(library, "curl_multi_poll", c.multi_poll);
  Take(library, "curl_multi_wakeup", c.multi_wakeup);
  Take(library, "curl_multi_info_read", c.multi_info_read);
  Take(library, "curl_slist_append", c.slist_append);
  Take(library, "curl_slist_free_all", c.slist_free_all);
  Take(library, "curl_mime_init", c.mime_init);
  Take(library, "curl_mime_free", c.mime_free);
  Take(library, "curl_mime_addpart", c.mime_addpart);
  Take(library, "curl_mime_name", c.mime_name);
  Take(library, "curl_mime_data", c.mime_data);
  Take(library, "curl_mime_filedata", c.mime_filedata);
  Take(library, "curl_mime_filename", c.mime_filename);
  Take(library, "curl_mime_type", c.mime_type);
  Take(library, "curl_url", c.url);
  Take(library, "curl_url_cleanup", c.url_cleanup);
  Take(library, "curl_url_set", c.url_set);
  Take(library, "curl_url_get", c.url_get);
  Take(library, "curl_url_strerror", c.url_strerror);
  Take(library, "curl_free", c.free);
  Take(library, "curl_getdate", c.getdate);
  if (c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw HttpError("libcurl could not be initialised");
  return c;
}

}  // namespace

const CurlLibrary& Curl() {
  // A failed load throws out of the initialisation, so the next call tries again.
  static const CurlLibrary library = Load();
  return library;
}

}  // namespace cvu
