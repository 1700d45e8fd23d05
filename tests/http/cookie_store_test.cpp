#include <gtest/gtest.h>

#include "http/cookie_store.h"

namespace cvu {
namespace {

const UrlParts kSite{"localhost", "/"};
const std::time_t kNow = 1'800'000'000;

std::vector<std::string> Names(const CookieStore& store) {
  std::vector<std::string> names;
  for (const auto& c : store.items()) names.push_back(c.name + "=" + c.value);
  return names;
}

TEST(CookieStore, ACookieKeepsItsFirstPositionWhenSetAgain) {
  CookieStore store;
  for (const char* header : {"lang=en", "id=1", "hash=a", "id=2; Path=/", "hash=b"}) store.take(header, kSite, kNow);
  EXPECT_EQ(Names(store), (std::vector<std::string>{"lang=en", "id=2", "hash=b"}));
}

TEST(CookieStore, ExpiredCookiesAreRemovedAndComeBackAtTheEnd) {
  CookieStore store;
  for (const char* header :
       {"a=1", "b=2", "a=gone; Max-Age=0", "c=3", "a=back", "b=x; Expires=Thu, 01 Jan 1970 00:00:00 GMT"}) {
    store.take(header, kSite, kNow);
  }
  EXPECT_EQ(Names(store), (std::vector<std::string>{"c=3", "a=back"}));
}

TEST(CookieStore, MaxAgeBeyondTheClockKeepsOrExpiresTheCookie) {
  struct Case {
    const char* maxAge;
    bool kept;
  };
  const Case cases[] = {
      {"9223372036854775807", true},    // the largest long: now plus it is beyond time_t
      {"99999999999999999999", true},   // beyond any long
      {"-9223372036854775808", false},  // the smallest long
      {"-99999999999999999999", false},
  };
  for (const Case& c : cases) {
    CookieStore store;
    store.take(std::string("id=5; Max-Age=") + c.maxAge, kSite, kNow);
    EXPECT_EQ(store.headerValueFor(kSite, kNow + 3600), c.kept ? "id=5" : "") << c.maxAge;
  }
}

TEST(CookieStore, SameNameOnAnotherDomainIsAnotherCookie) {
  CookieStore store;
  store.take("id=1", kSite, kNow);
  store.take("id=2", UrlParts{"i1.localhost", "/"}, kNow);
  ASSERT_EQ(store.size(), 2u);
  EXPECT_EQ(store.at(1).domain, "i1.localhost");
}

TEST(CookieStore, SendsWhatABrowserWouldSend) {
  CookieStore store;
  store.take("plain=1", UrlParts{"localhost", "/dir/page"}, kNow);            // path /dir
  store.take("wide=2; Domain=.localhost", UrlParts{"localhost", "/"}, kNow);  // subdomains too
  store.take("safe=3; Secure", kSite, kNow);                                  // never over plain HTTP
  store.take("foreign=4; Domain=example.org", kSite, kNow);                   // not for this host: ignored
  store.take("later=5; Max-Age=60", kSite, kNow);
  EXPECT_EQ(store.size(), 4u);
  struct Case {
    UrlParts url;
    std::time_t now;
    const char* header;
  };
  const Case cases[] = {
      {{"localhost", "/dir/page"}, kNow, "plain=1; wide=2; later=5"},
      {{"localhost", "/dir"}, kNow, "plain=1; wide=2; later=5"},
      {{"localhost", "/directory"}, kNow, "wide=2; later=5"},
      {{"i1.localhost", "/dir/x"}, kNow, "wide=2"},
      {{"localhost", "/"}, kNow + 61, "wide=2"},
      {{"otherhost", "/"}, kNow, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(store.headerValueFor(c.url, c.now), c.header) << c.url.host << c.url.path;
}

TEST(CookieStore, IgnoresHeadersWithoutAPair) {
  CookieStore store;
  for (const char* header : {"", "novalue", "=x", "; Path=/"}) store.take(header, kSite, kNow);
  EXPECT_EQ(store.size(), 0u);
}

}  // namespace
}  // namespace cvu
