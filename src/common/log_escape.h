#pragma once
// Keeps one log event on one line: control characters of a log line's argument (a file
// name, a server's error text) are written out as escapes.
#include <string>
#include <string_view>

namespace cvu {

// The forms, chosen to read like C escapes:
//   CR, LF, tab                         -> \r  \n  \t
//   other characters below U+0020, DEL  -> \xHH  (two upper-case hex digits: \x00, \x1B, \x7F)
//   C1 controls U+0080..U+009F, and the
//   line and paragraph separators       -> \uHHHH (\u0085, \u2028, \u2029)
// Everything else is kept as it is, backslashes and bytes that are no valid UTF-8
// included, so ordinary names and messages read unchanged.
std::string EscapeLogArgument(std::string_view text);

}  // namespace cvu
