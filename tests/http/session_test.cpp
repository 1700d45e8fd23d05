#include <gtest/gtest.h>

#include "http/session.h"
#include "support/test_server.h"

namespace cvu {
namespace {

AccountValues LoggedIn() {
  AccountValues account;
  account.user_id = "4711";
  account.user_hash = "9f8e7d";
  account.user_name = "demo";
  account.user_secure = "demo";
  return account;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.get("/.*",
               [](const test::RecordedRequest&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
    server.start();
  }
  test::TestServer server;
};

struct CookieCase {
  const char* what;
  bool anonymous;
  AccountValues account;
  const char* cookie;
};

TEST_F(SessionTest, SendsTheUserAgentAndOneCookieLineOfTheChosenVariant) {
  const CookieCase cases[] = {
      {"anonymous while logged in", true, LoggedIn(), "corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;"},
      {"logged-in variant, anonymous account", false, AccountValues::Anonymous(),
       "corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;"},
      {"logged-in variant", false, LoggedIn(), "corvane_user_id=4711; corvane_lng=en; corvane_hash=9f8e7d; path=/;"},
  };
  for (const auto& c : cases) {
    HttpClient client;
    MakeSession(client, c.anonymous, c.account);
    client.getText(server.url("/check"));
    const auto request = server.last();
    EXPECT_EQ(request.header("User-Agent"), "Corvane v5") << c.what;
    EXPECT_EQ(request.headerCount("Cookie"), 1u) << c.what;
    EXPECT_EQ(request.header("Cookie"), c.cookie) << c.what;
  }
}

TEST_F(SessionTest, ASecondSessionReplacesTheCookieLine) {
  HttpClient client;
  MakeSession(client, false, LoggedIn());
  MakeSession(client, true, LoggedIn());
  ASSERT_EQ(client.extraHeaders().size(), 1u);
  client.getText(server.url("/x"));
  EXPECT_EQ(server.last().headerCount("Cookie"), 1u);
  EXPECT_EQ(server.last().header("Cookie"), "corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;");
}

TEST_F(SessionTest, AccountValuesAreCopiedWhenTheSessionIsMade) {
  AccountValues account = LoggedIn();
  HttpClient client;
  MakeSession(client, false, account);
  account.user_id = "changed";
  client.getText(server.url("/x"));
  EXPECT_EQ(server.last().header("Cookie"), "corvane_user_id=4711; corvane_lng=en; corvane_hash=9f8e7d; path=/;");
}

TEST_F(SessionTest, LineBreaksInAccountValuesNeverStartAHeader) {
  AccountValues account = LoggedIn();
  account.user_id = "1\r\nX-Injected: yes";
  account.user_hash = "h\nX-Other: 2";
  HttpClient client;
  MakeSession(client, false, account);
  client.getText(server.url("/x"));
  const auto request = server.last();
  EXPECT_EQ(request.headerCount("X-Injected"), 0u);
  EXPECT_EQ(request.headerCount("X-Other"), 0u);
  EXPECT_EQ(request.headerCount("Cookie"), 1u);
  EXPECT_EQ(request.header("Cookie"),
            "corvane_user_id=1X-Injected: yes; corvane_lng=en; corvane_hash=hX-Other: 2; path=/;");
}

TEST_F(SessionTest, WithoutSessionNoUserAgentIsSent) {
  HttpClient client;
  client.setExtraHeaders({"Cookie: corvane_lng=en; path=/;"});
  client.getText(server.url("/x"));
  EXPECT_EQ(server.last().headerCount("User-Agent"), 0u);
  EXPECT_EQ(server.last().header("Cookie"), "corvane_lng=en; path=/;");
}

}  // namespace
}  // namespace cvu
