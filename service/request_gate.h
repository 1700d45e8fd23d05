#pragma once
// What the service refuses before it reads a request's body, so that no request can make it
// hold more than a small, fixed amount of memory: compressed bodies (a few bytes can unpack to
// gigabytes), bodies without a length (chunked ones have no bound known in advance) and bodies
// longer than their route allows.
#include <httplib.h>

#include <cstdint>
#include <string>

namespace cvu::service {

// The most the text fields of a form may hold together, and the longest body of any request
// other than an upload (a login post is a few hundred bytes).
inline constexpr std::uint64_t kMaxTextSize = std::uint64_t{64} * 1024;
// The largest file part of an upload unless configured otherwise. File parts go to disk as they
// arrive, so this bounds the disk an upload may take, not memory.
inline constexpr std::uint64_t kDefaultMaxFileSize = 2ull << 30;

bool IsUploadRequest(const httplib::Request& req);
// The longest body an upload may have: its file part and the form around it.
std::uint64_t MaxUploadBody(std::uint64_t maxFileSize);
// The status that refuses the request before its body is read (400, 411, 413, 415), or 0.
int RefusalBeforeBody(const httplib::Request& req, std::uint64_t maxBody);
// Answers with a refusal; the connection is closed, as the rest of the body stays unread.
void Refuse(httplib::Response& res, int status);

}  // namespace cvu::service
