#pragma once
// A later start's question to a running window, as the program's single-instance client
// asks it: connect to the local socket, write "show\n", read "shown\n". The answer comes
// after the window's UI thread has handled it, so a round trip shows how long that
// thread keeps the input waiting.
#include <optional>
#include <string>

namespace cvu::bench {

// Seconds of one round trip; nullopt when nobody listens on path (yet) or the answer
// did not come within timeoutMs, or was not "shown\n".
std::optional<double> Ping(const std::string& path, int timeoutMs);

}  // namespace cvu::bench
