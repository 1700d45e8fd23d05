#pragma once
// A wire case file (tests/wire/cases/README.md): the settings of the program before
// one service operation, the exchanges it must make (the exact request bytes expected
// and the canned answer to each) and what it must show afterwards.
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cvu::test {

struct WireExchange {
  int line = 0;         // line of the request marker in the file
  int connection = 1;   // the connection the request must arrive on, counted from 1
  std::string request;  // expected bytes, placeholders kept
  std::string answer;   // canned bytes, placeholders kept
  bool closeAfter = false;
};

struct WireCase {
  std::string name;                                           // the file name without ".case"
  std::vector<std::pair<std::string, std::string>> settings;  // key, decoded value, in file order
  std::vector<WireExchange> exchanges;

  // The first value of key, or nullopt.
  std::optional<std::string> value(const std::string& key) const;
  // Every value of key, in file order.
  std::vector<std::string> values(const std::string& key) const;
};

// Raises std::runtime_error naming the line for a malformed text.
WireCase ParseWireCase(const std::string& name, const std::string& text);
WireCase LoadWireCase(const std::filesystem::path& file);
// The *.case files of folder, sorted by name; none when there is no such folder.
std::vector<std::filesystem::path> WireCaseFiles(const std::filesystem::path& folder);

// One line's escapes decoded: \r \n \t \\ and \xHH.
std::string DecodeEscapes(const std::string& text);
// A block's bytes: each line decoded and followed by CRLF, but for a line that ends in
// a lone backslash, which is followed by nothing.
std::string BlockBytes(const std::vector<std::string>& lines);

// The values of the placeholders in request and answer bytes.
struct WirePlaceholders {
  std::string host;                     // {{host}}: the listener's host and port
  std::optional<std::string> boundary;  // {{boundary}}: kept as written when unknown
};
// Replaces {{host}} and {{boundary}}, then {{body-length}} by the number of bytes after
// the header block. Raises std::runtime_error for any other {{...}}.
std::string ExpandPlaceholders(const std::string& bytes, const WirePlaceholders& values);

// Splits "a | b | c" into its trimmed pieces.
std::vector<std::string> SplitList(const std::string& value);

}  // namespace cvu::test
