#pragma once
// The cookies one HTTP client has received, in the order they first arrived. A
// cookie is identified by its domain and name: set again, it keeps its position and
// takes the new value; set with a past expiry, it is removed.
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "http/url.h"

namespace cvu {

struct Cookie {
  std::string domain;    // lower case, no leading dot
  bool hostOnly = true;  // no Domain attribute: sent to that exact host only
  std::string path = "/";
  std::string name;
  std::string value;
  bool secure = false;
  std::optional<std::time_t> expires;  // none: lives as long as the client
};

class CookieStore {
 public:
  // Takes one Set-Cookie header value received in the answer to a request for url.
  // Cookies whose Domain does not cover the request's host are ignored.
  void take(const std::string& setCookie, const UrlParts& url, std::time_t now);

  // "name=value; name=value" for every cookie a browser would send to url, in
  // store order; empty when none applies.
  std::string headerValueFor(const UrlParts& url, std::time_t now) const;

  std::size_t size() const { return cookies_.size(); }
  const Cookie& at(std::size_t position) const { return cookies_.at(position); }
  const std::vector<Cookie>& items() const { return cookies_; }

 private:
  void store(Cookie cookie, std::time_t now);

  std::vector<Cookie> cookies_;
};

// Parses a Set-Cookie value; empty when it has no name=value pair, or when its name
// or value holds a control character.
std::optional<Cookie> ParseSetCookie(const std::string& setCookie, const UrlParts& url, std::time_t now);

}  // namespace cvu
