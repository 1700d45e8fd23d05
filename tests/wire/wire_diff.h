#pragma once
// Comparing request bytes for people: the multipart boundary masked, lines written in
// the syntax of a case file, and a line diff of what was expected and what arrived.
#include <optional>
#include <string>
#include <vector>

namespace cvu::test {

// The boundary a request's multipart Content-Type line names, if any.
std::optional<std::string> MultipartBoundary(const std::string& request);
// bytes with every occurrence of boundary written as {{boundary}}.
std::string MaskBoundary(std::string bytes, const std::optional<std::string>& boundary);
// bytes with every occurrence of host written as {{host}}.
std::string MaskHost(std::string bytes, const std::string& host);

// bytes as case-file lines: one per CRLF (which it stands for), escapes for CR, LF,
// tab, backslash, other control bytes and bytes that are not UTF-8; a last line
// without CRLF ends in a lone backslash.
std::vector<std::string> CaseLines(const std::string& bytes);

// Empty when equal; otherwise the offset of the first differing byte and a line diff
// in case-file lines ("  " both, "- " expected only, "+ " received only).
std::string WireDiff(const std::string& expected, const std::string& received);

}  // namespace cvu::test
