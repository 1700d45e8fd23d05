#pragma once
// Program identity and the service's address.
#include <string>

#include "common/version.h"

namespace cvu {

inline constexpr const char* kProductCaption = "Corvane Uploader X5";

// The service's host name (with port where it has one). Fixed at build time; tests
// point it at their own server before they start any thread that reads it.
std::string ServiceHost();
void SetServiceHost(const std::string& host);

// "http://" + ServiceHost: the service's home page.
std::string ServiceHomePage();

}  // namespace cvu
