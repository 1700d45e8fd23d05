#pragma once
// The pieces of a URL the cookie rules and the redirect handling need.
#include <string>

namespace cvu {

struct UrlParts {
  std::string host;  // lower case, without port
  std::string path;  // starts with "/"
};

// Throws HttpError with libcurl's text for a URL it cannot read.
UrlParts SplitUrl(const std::string& url);
// The absolute URL that ref (absolute or relative, as in a Location header) names
// when it appears in the answer to base.
std::string ResolveUrl(const std::string& base, const std::string& ref);
// Both URLs name the same scheme, host (letter case ignored) and port, the scheme's
// default port counting as written; false when either cannot be read.
bool SameOrigin(const std::string& a, const std::string& b);

}  // namespace cvu
