// Control characters that a server or a stored text slips into cookies or header
// lines never reach the wire: the cookie is refused, and every header line the client
// sends loses its line breaks, whatever its source.
#include <gtest/gtest.h>

#include "http/cookie_store.h"
#include "http/curl_exchange.h"
#include "http/curl_handles.h"
#include "http/http_client.h"
#include "support/test_server.h"

namespace cvu {
namespace {

const UrlParts kSite{"127.0.0.1", "/"};
const std::time_t kNow = 1'800'000'000;
constexpr const char* kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";

// The header block of a request as received, without the blank line that ends it.
std::string Head(const std::string& request) {
  const auto end = request.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : request.substr(0, end + 2);
}

// Every CR of the head begins a CR LF pair and every LF ends one.
bool OnlyWholeLineEnds(const std::string& head) {
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (head[i] == '\r' && (i + 1 >= head.size() || head[i + 1] != '\n')) return false;
    if (head[i] == '\n' && (i == 0 || head[i - 1] != '\r')) return false;
  }
  return true;
}

TEST(CookieStore, CookiesWithControlCharactersInNameOrValueAreRefused) {
  const std::string refused[] = {
      "id=5\rX-Injected: 1",
      "id=5\nX: 1",
      std::string("id=a\0b", 6),
      "id=a\tb",
      "id=\x01",
      "id=\x7f",
      "i\rd=5",
      "i\x1f"
      "d=5",
  };
  for (const std::string& header : refused) {
    CookieStore store;
    store.take("id=1", kSite, kNow);
    store.take(header, kSite, kNow);
    ASSERT_EQ(store.size(), 1u) << header;
    EXPECT_EQ(store.at(0).value, "1") << header;  // the earlier value stays
  }
  // Blanks and tabs around the pair are no part of it; characters above 0x7f are no controls.
  CookieStore store;
  for (const char* header : {"a= 1\t; Path=/", "b=Привет", "c=x y"}) store.take(header, kSite, kNow);
  EXPECT_EQ(store.headerValueFor(kSite, kNow), "a=1; b=Привет; c=x y");
}

TEST(HttpClient, ACookieWithABareCarriageReturnNeverReachesTheNextRequest) {
  test::RawListener first(
      "HTTP/1.1 200 OK\r\nSet-Cookie: corvane_user_id=5\rX-Injected: 1; path=/\r\n"
      "Set-Cookie: corvane_hash=ab; path=/\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
  test::RawListener second(kOk);
  HttpClient client;
  client.setExtraHeaders({"Cookie: corvane_lng=en; path=/;"});
  EXPECT_EQ(client.getText(first.url("/")), "ok");
  EXPECT_EQ(client.getText(second.url("/next")), "ok");
  const std::string head = Head(second.received());
  ASSERT_FALSE(head.empty());
  EXPECT_TRUE(OnlyWholeLineEnds(head)) << head;
  EXPECT_EQ(head.find("X-Injected"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nCookie: corvane_lng=en; path=/; corvane_hash=ab\r\n"), std::string::npos) << head;
}

TEST(CurlExchange, NoHeaderLineOrUserAgentCarriesALineBreakOnTheWire) {
  EnsureCurlInitialised();
  CurlEasyPtr easy(curl_easy_init());
  CurlMultiPtr multi(curl_multi_init());
  test::RawListener listener(kOk);
  ExchangeRequest request;
  request.url = listener.url("/");
  request.headerLines = {"X-One: 1\r\nX-Injected: 2", "X-Two: a\rb", "X-Three: c\nd"};
  request.userAgent = "Corvane v5\r\nX-Agent-Injected: 3";
  const ExchangeAnswer answer = RunExchange(easy.get(), multi.get(), request);
  EXPECT_EQ(answer.body, "ok");
  const std::string head = Head(listener.received());
  ASSERT_FALSE(head.empty());
  EXPECT_TRUE(OnlyWholeLineEnds(head)) << head;
  EXPECT_EQ(head.find("\r\nX-Injected"), std::string::npos) << head;
  EXPECT_EQ(head.find("\r\nX-Agent-Injected"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nX-One: 1X-Injected: 2\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nX-Two: ab\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: Corvane v5X-Agent-Injected: 3\r\n"), std::string::npos) << head;
}

}  // namespace
}  // namespace cvu
