#include "wire/wire_diff.h"

#include <strings.h>
#include <algorithm>
#include <cstdio>

namespace cvu::test {
namespace {

// Length of the UTF-8 sequence starting at bytes[i], or 0 when it is not one.
std::size_t Utf8Length(const std::string& bytes, std::size_t i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || i + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string Hex(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02x", byte);
  return text;
}

std::string Visible(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x80) {
      const std::size_t length = Utf8Length(bytes, i);
      out += length ? bytes.substr(i, length) : Hex(byte);
      i += length ? length : 1;
      continue;
    }
    if (byte == '\r')
      out += "\\r";
    else if (byte == '\n')
      out += "\\n";
    else if (byte == '\t')
      out += "\\t";
    else if (byte == '\\')
      out += "\\\\";
    else if (byte < 0x20 || byte == 0x7f)
      out += Hex(byte);
    else
      out += static_cast<char>(byte);
    ++i;
  }
  return out;
}

// The diff lines of a longest common subsequence of the two line lists.
std::vector<std::string> LineDiff(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::vector<std::string> out;
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      out.push_back("  " + a[i++]);
      ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      out.push_back("- " + a[i++]);
    } else {
      out.push_back("+ " + b[j++]);
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> MultipartBoundary(const std::string& request) {
  const std::string head = request.substr(0, request.find("\r\n\r\n"));
  const std::string name = "\r\ncontent-type: multipart/form-data; boundary=";
  for (std::size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
    if (strncasecmp(head.c_str() + at, name.c_str(), name.size()) != 0) continue;
    const std::size_t start = at + name.size();
    std::string boundary = head.substr(start, head.find("\r\n", start) - start);
    if (boundary.size() >= 2 && boundary.front() == '"' && boundary.back() == '"') {
      boundary = boundary.substr(1, boundary.size() - 2);
    }
    if (!boundary.empty()) return boundary;
  }
  return std::nullopt;
}

namespace {

std::string ReplaceEvery(std::string bytes, const std::string& text, const std::string& by) {
  if (text.empty()) return bytes;
  for (std::size_t at = 0; (at = bytes.find(text, at)) != std::string::npos; at += by.size())
    bytes.replace(at, text.size(), by);
  return bytes;
}

}  // namespace

std::string MaskBoundary(std::string bytes, const std::optional<std::string>& boundary) {
  return boundary ? ReplaceEvery(std::move(bytes), *boundary, "{{boundary}}") : bytes;
}

std::string MaskHost(std::string bytes, const std::string& host) {
  return ReplaceEvery(std::move(bytes), host, "{{host}}");
}

std::vector<std::string> CaseLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(Visible(bytes.substr(start, end - start)));
  }
  if (start < bytes.size()) lines.push_back(Visible(bytes.substr(start)) + "\\");
  return lines;
}

std::string WireDiff(const std::string& expected, const std::string& received) {
  if (expected == received) return {};
  const auto mismatch = std::mismatch(expected.begin(), expected.end(), received.begin(), received.end());
  std::string out = "first difference at byte " + std::to_string(mismatch.first - expected.begin()) + " (expected " +
                    std::to_string(expected.size()) + " bytes, received " + std::to_string(received.size()) +
                    "); \"- \" expected only, \"+ \" received only:\n";
  for (const auto& line : LineDiff(CaseLines(expected), CaseLines(received))) out += line + "\n";
  return out;
}

}  // namespace cvu::test
