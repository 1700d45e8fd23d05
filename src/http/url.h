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

}  // namespace cvu
