#include "service/request_cookies.h"

namespace cvu::service {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::map<std::string, std::string> RequestCookies(const httplib::Request& req) {
  std::map<std::string, std::string> cookies;
  const auto count = req.get_header_value_count("Cookie");
  for (std::size_t i = 0; i < count; ++i) {
    const std::string line = req.get_header_value("Cookie", i);
    for (std::size_t start = 0; start < line.size();) {
      const auto end = std::min(line.find(';', start), line.size());
      const std::string pair = Trim(line.substr(start, end - start));
      const auto eq = pair.find('=');
      // The first value of a name wins, as a browser lists the most specific first.
      if (eq != std::string::npos && eq > 0) cookies.emplace(pair.substr(0, eq), pair.substr(eq + 1));
      start = end + 1;
    }
  }
  return cookies;
}

}  // namespace cvu::service
