#pragma once
// Prepares a client for a service request: the program's user agent and its one
// Cookie line.
#include <string>

#include "common/account.h"
#include "http/http_client.h"

namespace cvu {

inline constexpr const char* kUserAgent = "Corvane v5";

// The Cookie line: anonymous, or built from the account's id and hash as they are
// (in the anonymous account state both are "0", so the two variants agree).
std::string SessionCookieLine(bool anonymous, const AccountValues& account);

// Sets the user agent and replaces the extra header lines by the Cookie line; the
// account texts are copied now, so a later login does not reach this client.
HttpClient& MakeSession(HttpClient& client, bool anonymous, const AccountValues& account);

}  // namespace cvu
