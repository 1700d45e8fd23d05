#pragma once
// curl_easy_setopt with the value's type checked when the program is built. libcurl
// reads a long, a data pointer, a function pointer or a curl_off_t, as the option's
// kind says, whatever was passed: an int given for a long would be read wrongly.
#include <curl/curl.h>

#include <string>
#include <type_traits>

#include "http/http_error.h"

namespace cvu {

// The callback type of each function option the HTTP layer sets.
template <CURLoption Option>
struct CurlCallback {};
template <>
struct CurlCallback<CURLOPT_HEADERFUNCTION> {
  using type = curl_write_callback;
};
template <>
struct CurlCallback<CURLOPT_WRITEFUNCTION> {
  using type = curl_write_callback;
};
template <>
struct CurlCallback<CURLOPT_XFERINFOFUNCTION> {
  using type = curl_xferinfo_callback;
};
template <>
struct CurlCallback<CURLOPT_PREREQFUNCTION> {
  using type = curl_prereq_callback;
};

// Throws HttpError when libcurl refuses the option (one this libcurl does not know, or
// a value out of its range), so no request goes out without it.
template <CURLoption Option, typename Value>
void SetOption(CURL* easy, Value value) {
  constexpr int kind = Option / 10000 * 10000;
  if constexpr (kind == CURLOPTTYPE_LONG) {
    static_assert(std::is_same_v<Value, long>, "this option takes a long");
  } else if constexpr (kind == CURLOPTTYPE_OBJECTPOINT) {
    static_assert(std::is_pointer_v<Value> && !std::is_function_v<std::remove_pointer_t<Value>>,
                  "this option takes a data pointer");
  } else if constexpr (kind == CURLOPTTYPE_FUNCTIONPOINT) {
    static_assert(std::is_same_v<Value, typename CurlCallback<Option>::type>, "this option takes its callback type");
  } else {
    static_assert(kind == CURLOPTTYPE_OFF_T && std::is_same_v<Value, curl_off_t>, "this option takes a curl_off_t");
  }
  const CURLcode rc = curl_easy_setopt(easy, Option, value);
  if (rc != CURLE_OK) {
    throw HttpError("libcurl refused option " + std::to_string(Option) + ": " + curl_easy_strerror(rc));
  }
}

}  // namespace cvu
