#pragma once
// Why a port cannot be listened on, for the message of a service that did not start.
#include <string>

namespace cvu::service {

// The system's reason a new socket cannot bind address:port now ("Address already in
// use"); empty when it can.
std::string BindFailure(const std::string& address, int port);

}  // namespace cvu::service
