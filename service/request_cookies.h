#pragma once
// The cookies a request carries, from all of its Cookie lines.
#include <httplib.h>

#include <map>
#include <string>

namespace cvu::service {

std::map<std::string, std::string> RequestCookies(const httplib::Request& req);

}  // namespace cvu::service
