#include "http/cookie_store.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "common/text.h"

namespace cvu {
namespace {

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// The folder of the request path, as the default cookie path.
std::string DefaultPath(const std::string& requestPath) {
  const auto slash = requestPath.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return requestPath.substr(0, slash);
}

bool DomainMatches(const std::string& host, const std::string& domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(const std::string& requestPath, const std::string& cookiePath) {
  if (!requestPath.starts_with(cookiePath)) return false;
  return requestPath.size() == cookiePath.size() || cookiePath.ends_with('/') || requestPath[cookiePath.size()] == '/';
}

// The expiry a Max-Age gives, kept within the clock's range: a huge one keeps the
// cookie, zero or a negative one (however large) expires it. Empty when the value does
// not begin with a number, which is then ignored, as browsers do.
std::optional<std::time_t> MaxAgeExpiry(const std::string& value, std::time_t now) {
  constexpr std::time_t kLatest = std::numeric_limits<std::time_t>::max();
  constexpr std::time_t kEarliest = std::numeric_limits<std::time_t>::min();
  std::time_t seconds = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
  if (error == std::errc::result_out_of_range) return value.starts_with('-') ? kEarliest : kLatest;
  if (error != std::errc()) return std::nullopt;
  if (seconds <= 0) return kEarliest;
  return now > 0 && seconds > kLatest - now ? kLatest : now + seconds;
}

void ApplyAttribute(Cookie& cookie, const std::string& name, const std::string& value, std::time_t now,
                    bool& maxAgeSeen) {
  if (name == "domain" && !value.empty()) {
    cookie.domain = AsciiLower(value.front() == '.' ? value.substr(1) : value);
    cookie.hostOnly = false;
  } else if (name == "path" && value.starts_with('/')) {
    cookie.path = value;
  } else if (name == "secure") {
    cookie.secure = true;
  } else if (name == "max-age") {
    if (const auto expires = MaxAgeExpiry(value, now)) {
      cookie.expires = expires;
      maxAgeSeen = true;
    }
  } else if (name == "expires" && !maxAgeSeen) {
    const std::time_t when = curl_getdate(value.c_str(), nullptr);
    if (when != -1) cookie.expires = when;
  }
}

// Control characters (below 0x20, and DEL) are no cookie octets: a cookie carrying
// one would break the Cookie line it is sent back in.
bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7f;
  });
}

}  // namespace

std::optional<Cookie> ParseSetCookie(const std::string& setCookie, const UrlParts& url, std::time_t now) {
  std::vector<std::string> pieces;
  for (std::size_t start = 0; start <= setCookie.size();) {
    const auto semi = std::min(setCookie.find(';', start), setCookie.size());
    pieces.push_back(setCookie.substr(start, semi - start));
    start = semi + 1;
  }
  const auto eq = pieces.front().find('=');
  if (eq == std::string::npos) return std::nullopt;
  Cookie cookie;
  cookie.name = Trim(std::string_view(pieces.front()).substr(0, eq));
  cookie.value = Trim(std::string_view(pieces.front()).substr(eq + 1));
  if (cookie.name.empty() || HasControlCharacter(cookie.name) || HasControlCharacter(cookie.value)) return std::nullopt;
  cookie.domain = url.host;
  cookie.path = DefaultPath(url.path);
  bool maxAgeSeen = false;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const auto attrEq = pieces[i].find('=');
    const std::string name = AsciiLower(Trim(std::string_view(pieces[i]).substr(0, attrEq)));
    const std::string value =
        attrEq == std::string::npos ? std::string() : Trim(std::string_view(pieces[i]).substr(attrEq + 1));
    ApplyAttribute(cookie, name, value, now, maxAgeSeen);
  }
  return cookie;
}

void CookieStore::take(const std::string& setCookie, const UrlParts& url, std::time_t now) {
  auto cookie = ParseSetCookie(setCookie, url, now);
  if (!cookie) return;
  // A server may not set cookies for a domain its own host does not belong to.
  if (!cookie->hostOnly && !DomainMatches(url.host, cookie->domain)) return;
  store(std::move(*cookie), now);
}

void CookieStore::store(Cookie cookie, std::time_t now) {
  const auto same = std::find_if(cookies_.begin(), cookies_.end(),
                                 [&](const Cookie& c) { return c.domain == cookie.domain && c.name == cookie.name; });
  const bool expired = cookie.expires && *cookie.expires <= now;
  if (same == cookies_.end()) {
    if (!expired) cookies_.push_back(std::move(cookie));
  } else if (expired) {
    cookies_.erase(same);
  } else {
    *same = std::move(cookie);
  }
}

std::string CookieStore::headerValueFor(const UrlParts& url, std::time_t now) const {
  std::string header;
  for (const Cookie& c : cookies_) {
    const bool hostOk = c.hostOnly ? url.host == c.domain : DomainMatches(url.host, c.domain);
    // Requests go over plain HTTP, so secure cookies stay home, as in a browser.
    if (!hostOk || c.secure || !PathMatches(url.path, c.path) || (c.expires && *c.expires <= now)) continue;
    if (!header.empty()) header += "; ";
    header += c.name + "=" + c.value;
  }
  return header;
}

}  // namespace cvu
