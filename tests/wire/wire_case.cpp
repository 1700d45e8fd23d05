#include "wire/wire_case.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace cvu::test {
namespace {

// The file's lines; a CR before the LF belongs to the file's own line end, not to the text.
std::vector<std::string> FileLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

[[noreturn]] void Fail(int line, const std::string& what) {
  throw std::runtime_error("line " + std::to_string(line) + ": " + what);
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw std::invalid_argument(std::string("not a hex digit: ") + c);
}

bool EndsInLoneBackslash(const std::string& line) {
  const auto last = line.find_last_not_of('\\');
  const std::size_t run = line.size() - (last == std::string::npos ? 0 : last + 1);
  return run % 2 == 1;
}

// ">>> request on connection N".
int RequestConnection(const std::string& line, int lineNumber) {
  const std::string prefix = ">>> request on connection ";
  if (!StartsWith(line, prefix)) Fail(lineNumber, "expected \">>> request on connection N\"");
  const std::string number = line.substr(prefix.size());
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || std::stoi(number) < 1) {
    Fail(lineNumber, "a connection is a number from 1");
  }
  return std::stoi(number);
}

// "<<< answer" keeps the connection open, "<<< answer and close" closes it.
bool AnswerCloses(const std::string& line, int lineNumber) {
  if (line == "<<< answer") return false;
  if (line == "<<< answer and close") return true;
  Fail(lineNumber, "expected \"<<< answer\" or \"<<< answer and close\"");
}

std::pair<std::string, std::string> Setting(const std::string& line, int lineNumber) {
  const auto colon = line.find(':');
  const std::string key = line.substr(0, colon);
  if (colon == std::string::npos || key.empty() || key.find(' ') != std::string::npos) {
    Fail(lineNumber, "expected \"key: value\"");
  }
  std::string value = line.substr(colon + 1);
  if (StartsWith(value, " ")) value.erase(0, 1);
  return {key, DecodeEscapes(value)};
}

std::string LineBytes(const std::string& line) {
  if (EndsInLoneBackslash(line)) return DecodeEscapes(line.substr(0, line.size() - 1));
  return DecodeEscapes(line) + "\r\n";
}

}  // namespace

std::optional<std::string> WireCase::value(const std::string& key) const {
  for (const auto& [k, v] : settings) {
    if (k == key) return v;
  }
  return std::nullopt;
}

std::vector<std::string> WireCase::values(const std::string& key) const {
  std::vector<std::string> found;
  for (const auto& [k, v] : settings) {
    if (k == key) found.push_back(v);
  }
  return found;
}

std::string DecodeEscapes(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) throw std::invalid_argument("a lone backslash at the end");
    switch (text[i]) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      case 'x':
        if (i + 2 >= text.size()) throw std::invalid_argument("\\x needs two hex digits");
        out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
        i += 2;
        break;
      default:
        throw std::invalid_argument(std::string("unknown escape \\") + text[i]);
    }
  }
  return out;
}

std::string BlockBytes(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += LineBytes(line);
  return bytes;
}

WireCase ParseWireCase(const std::string& name, const std::string& text) {
  enum class In { Settings, Request, Answer } in = In::Settings;
  WireCase result{name, {}, {}};
  WireExchange current;
  const auto lines = FileLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int n = static_cast<int>(i + 1);
    try {
      if (StartsWith(line, ">>> ")) {
        if (in == In::Request) Fail(n, "a request must be followed by its answer");
        if (in == In::Answer) result.exchanges.push_back(std::exchange(current, {}));
        current.line = n;
        current.connection = RequestConnection(line, n);
        in = In::Request;
      } else if (StartsWith(line, "<<< ")) {
        if (in != In::Request) Fail(n, "an answer must follow a request");
        current.closeAfter = AnswerCloses(line, n);
        in = In::Answer;
      } else if (in == In::Request) {
        current.request += LineBytes(line);
      } else if (in == In::Answer) {
        current.answer += LineBytes(line);
      } else if (!line.empty() && line[0] != '#') {
        result.settings.push_back(Setting(line, n));
      }
    } catch (const std::invalid_argument& e) {
      Fail(n, e.what());
    }
  }
  if (in == In::Request) Fail(static_cast<int>(lines.size()), "the last request has no answer");
  if (in == In::Answer) result.exchanges.push_back(current);
  return result;
}

WireCase LoadWireCase(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::stringstream text;
  text << in.rdbuf();
  try {
    return ParseWireCase(file.stem().string(), text.str());
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(file.filename().string() + ", " + e.what());
  }
}

std::vector<std::filesystem::path> WireCaseFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code missing;  // no folder: no cases, which the coverage test reports
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
    if (entry.is_regular_file() && entry.path().extension() == ".case") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ExpandPlaceholders(const std::string& bytes, const WirePlaceholders& values) {
  const std::string lengthMark = "{{body-length}}";
  std::string out;
  std::size_t pos = 0;
  for (std::size_t at; (at = bytes.find("{{", pos)) != std::string::npos;) {
    const std::size_t end = bytes.find("}}", at);
    if (end == std::string::npos) throw std::runtime_error("an unclosed {{ placeholder");
    const std::string name = bytes.substr(at + 2, end - at - 2);
    out += bytes.substr(pos, at - pos);
    if (name == "host") {
      out += values.host;
    } else if (name == "boundary") {
      out += values.boundary.value_or("{{boundary}}");
    } else if (name == "body-length") {
      out += lengthMark;
    } else {
      throw std::runtime_error("unknown placeholder {{" + name + "}}");
    }
    pos = end + 2;
  }
  out += bytes.substr(pos);
  if (out.find(lengthMark) == std::string::npos) return out;
  const auto headEnd = out.find("\r\n\r\n");
  if (headEnd == std::string::npos) throw std::runtime_error("{{body-length}} without a header block");
  const std::size_t bodyLength = out.size() - (headEnd + 4);
  for (std::size_t at; (at = out.find(lengthMark)) != std::string::npos;) {
    out.replace(at, lengthMark.size(), std::to_string(bodyLength));
  }
  return out;
}

std::vector<std::string> SplitList(const std::string& value) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = value.find('|', start);
    std::string piece = value.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    const auto first = piece.find_first_not_of(' ');
    const auto last = piece.find_last_not_of(' ');
    pieces.push_back(first == std::string::npos ? "" : piece.substr(first, last - first + 1));
    if (bar == std::string::npos) return pieces;
    start = bar + 1;
  }
}

}  // namespace cvu::test
