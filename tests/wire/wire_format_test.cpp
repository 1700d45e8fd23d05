// The case-file syntax, the placeholders, the diff and the scripted listener that the
// wire cases rest on.
#include <gtest/gtest.h>

#include "http/http_client.h"
#include "support/scripted_listener.h"
#include "wire/wire_case.h"
#include "wire/wire_diff.h"

namespace cvu {
namespace {

using test::ParseWireCase;

TEST(WireCaseFile, SettingsThenExchangesWithTheirLineEndsAndConnections) {
  const std::string text =
      "# about\n"
      "operation: login\n"
      "\n"
      "title:\n"
      "file-bytes: a\\x00\\xffb\\\\\n"
      ">>> request on connection 1\n"
      "GET / HTTP/1.1\n"
      "# not a comment here\n"
      "\n"
      "<<< answer\n"
      "HTTP/1.1 200 OK\n"
      "\n"
      "one\\ntwo\\\n"
      ">>> request on connection 2\n"
      "x\n"
      "<<< answer and close\n";
  const auto c = ParseWireCase("n", text);
  EXPECT_EQ(c.value("operation"), "login");
  EXPECT_EQ(c.value("title"), "");
  EXPECT_EQ(c.value("file-bytes"), std::string("a\0\xff"
                                               "b\\",
                                               5));
  EXPECT_EQ(c.value("missing"), std::nullopt);
  ASSERT_EQ(c.exchanges.size(), 2u);
  EXPECT_EQ(c.exchanges[0].line, 6);
  EXPECT_EQ(c.exchanges[0].request, "GET / HTTP/1.1\r\n# not a comment here\r\n\r\n");
  EXPECT_EQ(c.exchanges[0].answer, "HTTP/1.1 200 OK\r\n\r\none\ntwo");
  EXPECT_FALSE(c.exchanges[0].closeAfter);
  EXPECT_EQ(c.exchanges[1].connection, 2);
  EXPECT_EQ(c.exchanges[1].answer, "");
  EXPECT_TRUE(c.exchanges[1].closeAfter);

  // The file's own line ends do not matter: saved with CR LF it reads the same.
  std::string crlf;
  for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  const auto same = ParseWireCase("n", crlf);
  EXPECT_EQ(same.exchanges[0].request, c.exchanges[0].request);
  EXPECT_EQ(same.exchanges[0].answer, c.exchanges[0].answer);
  EXPECT_EQ(same.settings, c.settings);
}

TEST(WireCaseFile, MalformedFilesNameTheLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"operation: x\n>>> request on connection 1\nGET\n", "line 3: the last request has no answer"},
      {">>> request on connection 1\n>>> request on connection 1\n", "line 2: a request must be followed"},
      {"<<< answer\n", "line 1: an answer must follow a request"},
      {">>> request\n", "line 1: expected \">>> request on connection N\""},
      {">>> request on connection 0\n", "line 1: a connection is a number from 1"},
      {">>> request on connection 1\n<<< answer, close\n", "line 2: expected \"<<< answer\""},
      {"no colon here\n", "line 1: expected \"key: value\""},
      {"a: b\nkey: \\q\n", "line 2: unknown escape \\q"},
      {">>> request on connection 1\n\\x4\n", "line 2: \\x needs two hex digits"},
      {">>> request on connection 1\n\\xzz\n", "line 2: not a hex digit"},
      {"key: ends in \\\n", "line 1: a lone backslash"},
  };
  for (const auto& [text, message] : cases) {
    try {
      ParseWireCase("n", text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
    }
  }
}

TEST(WirePlaceholders, HostBoundaryAndTheBodyLengthCountedAfterThem) {
  const std::string block =
      "POST / HTTP/1.1\r\nHost: {{host}}\r\nContent-Length: {{body-length}}\r\n\r\n--{{boundary}}--";
  EXPECT_EQ(test::ExpandPlaceholders(block, {"127.0.0.1:9", "abc"}),
            "POST / HTTP/1.1\r\nHost: 127.0.0.1:9\r\nContent-Length: 7\r\n\r\n--abc--");
  EXPECT_EQ(test::ExpandPlaceholders("a{{boundary}}", {"h", std::nullopt}), "a{{boundary}}");
  EXPECT_THROW(test::ExpandPlaceholders("{{port}}", {"h", std::nullopt}), std::runtime_error);
  EXPECT_THROW(test::ExpandPlaceholders("{{host", {"h", std::nullopt}), std::runtime_error);
  EXPECT_THROW(test::ExpandPlaceholders("no head {{body-length}}", {"h", std::nullopt}), std::runtime_error);
}

TEST(WireDiff, CaseLinesReadBackAsTheSameBytes) {
  const std::string samples[] = {
      "GET / HTTP/1.1\r\n\r\n",
      std::string("\x89PNG\r\n\x1a\n\0\xff\\ \t\x7f", 14) + "Привет\r\n\xd0",
      "no line end",
      "bare\nlf\r\n\r\n\r",
      "",
  };
  for (const auto& bytes : samples) EXPECT_TRUE(test::BlockBytes(test::CaseLines(bytes)) == bytes) << bytes;
  EXPECT_EQ(test::CaseLines("a\r\n\x01Ж\n"), (std::vector<std::string>{"a", "\\x01Ж\\n\\"}));
}

TEST(WireDiff, OneWrongByteIsShownWithItsLine) {
  const std::string expected = "GET / HTTP/1.1\r\nAccept: */*\r\nCookie: a=1\r\n\r\n";
  std::string received = expected;
  received[26] = '+';
  EXPECT_EQ(test::WireDiff(expected, expected), "");
  const std::string diff = test::WireDiff(expected, received);
  EXPECT_NE(diff.find("first difference at byte 26"), std::string::npos) << diff;
  EXPECT_NE(diff.find("\n  GET / HTTP/1.1\n- Accept: */*\n+ Accept: */+\n  Cookie: a=1\n"), std::string::npos) << diff;
  EXPECT_NE(test::WireDiff(expected, expected.substr(0, expected.size() - 2)), "");
}

TEST(WireDiff, TheBoundaryComesFromTheContentTypeLineAndIsMasked) {
  const std::string request =
      "POST / HTTP/1.1\r\ncontent-type: multipart/form-data; boundary=\"XyZ\"\r\n\r\n--XyZ\r\n--XyZ--\r\n";
  EXPECT_EQ(test::MultipartBoundary(request), "XyZ");
  EXPECT_EQ(test::MultipartBoundary("GET / HTTP/1.1\r\n\r\nboundary=XyZ"), std::nullopt);
  EXPECT_EQ(test::MaskBoundary("--XyZ\r\n--XyZ--", "XyZ"), "--{{boundary}}\r\n--{{boundary}}--");
  EXPECT_EQ(test::MaskHost("Host: 127.0.0.1:5\r\n", "127.0.0.1:5"), "Host: {{host}}\r\n");
}

TEST(ScriptedListener, NumbersConnectionsKeepsThemOpenAndRefusesWhatIsBeyondTheScript) {
  const std::string keep = "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nk";
  test::ScriptedListener listener;
  listener.serve({{keep, false}, {keep, true}, {keep, false}});
  HttpClient first;
  EXPECT_EQ(first.getText(listener.url("/one")), "k");
  EXPECT_EQ(first.getText(listener.url("/two")), "k");  // the same connection
  HttpClient second;
  EXPECT_EQ(second.getText(listener.url("/three")), "k");  // the last one was closed
  HttpClient third;
  try {
    third.getText(listener.url("/four"));
    ADD_FAILURE() << "a request beyond the script was answered";
  } catch (const HttpError& e) {
    EXPECT_STREQ(e.what(), test::kUnscriptedStatus);
  }
  const auto received = listener.received();
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[0].bytes.rfind("GET /one HTTP/1.1\r\n", 0), 0u);
  EXPECT_EQ(received[1].bytes.rfind("GET /two HTTP/1.1\r\n", 0), 0u);
  std::vector<int> connections;
  for (const auto& r : received) connections.push_back(r.connection);
  EXPECT_EQ(connections, (std::vector<int>{1, 1, 2, 3}));
}

}  // namespace
}  // namespace cvu
