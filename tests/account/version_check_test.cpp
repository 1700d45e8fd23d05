// The background version check.
#include "account/version_check.h"
#include "support/test_server.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

TEST(IsNewerVersion, ComparesDottedPartsAsNumbers) {
  const std::pair<const char*, bool> cases[] = {
      {"5.9", true},    {"5.10", true},   {"6.0", true},
      {"6", true},      {"5.8.1", true},  {"5.8", false},
      {"5.7.9", false}, {"5.08", false},  {"5.8.0", false},
      {"4.99", false},  {"5.9\n", false}, {"5.9 ", false},
      {"", false},      {"v5.9", false},  {"5..9", false},
      {".9", false},    {"5.9.", false},  {"99999999999999999999999.0", true},
  };
  for (const auto& [body, newer] : cases) EXPECT_EQ(IsNewerVersion(body, "5.8"), newer) << '"' << body << '"';
}

class VersionCheckTest : public test::UploadFixture {
 protected:
  void Serve(const std::string& body, int status = 200) {
    server.get("//cvuversion.txt", [body, status](const test::RecordedRequest&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "text/plain");
    });
    server.start();
    SetServiceHost(server.host());
  }
  void RunCheck() {
    StartVersionCheck(p.ctx);
    ASSERT_TRUE(p.ui.runUntil([this] { return p.ctx.versionChecks.idle(); }));
    p.ui.drain();
  }
  test::TestServer server;
};

TEST_F(VersionCheckTest, ANewerVersionIsAnnouncedOnceInThreePlaces) {
  Serve("5.9");
  p.ctx.account = {"hh", "42", "bob", "pw"};
  RunCheck();
  EXPECT_EQ(p.main.infoStatus.value, "Доступна новая версия 5.9");
  EXPECT_EQ(p.logBodies().back(), "Доступна новая версия 5.9");
  EXPECT_EQ(p.dialogs.messages, (std::vector<std::string>{"Доступна новая версия 5.9"}));
  EXPECT_EQ(server.last().requestLine, "GET //cvuversion.txt HTTP/1.1");
  EXPECT_EQ(server.last().header("Cookie"), "corvane_user_id=42; corvane_lng=en; corvane_hash=hh; path=/;");
  EXPECT_EQ(server.last().header("User-Agent"), "Corvane v5");
}

TEST_F(VersionCheckTest, TheSameOrAnOddBodyOrAFailureIsSilent) {
  for (const auto& [body, status] :
       std::vector<std::pair<std::string, int>>{{"5.8", 200}, {"5.9\r\n", 200}, {"6.0", 500}}) {
    test::TestServer one;
    one.get("//cvuversion.txt", [body = body, status = status](const test::RecordedRequest&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "text/plain");
    });
    one.start();
    SetServiceHost(one.host());
    StartVersionCheck(p.ctx);
    ASSERT_TRUE(p.ui.runUntil([this] { return p.ctx.versionChecks.idle(); }));
    p.ui.drain();
    EXPECT_EQ(one.requests().size(), 1u) << body;
  }
  SetServiceHost("127.0.0.1:1");
  StartVersionCheck(p.ctx);
  ASSERT_TRUE(p.ui.runUntil([this] { return p.ctx.versionChecks.idle(); }));
  p.ui.drain();
  EXPECT_EQ(p.main.infoStatus.value, "");
  EXPECT_TRUE(p.dialogs.messages.empty());
  EXPECT_TRUE(p.main.logList.lines.empty());
}

// A version text is short: a longer body (say a megabyte of digits) is no version.
TEST_F(VersionCheckTest, ABodyLongerThanThirtyTwoCharactersIsIgnored) {
  const std::string longest = "5." + std::string(30, '9');  // 32 characters
  const std::string bodies[] = {longest + "9", "6" + std::string(32, '0'), std::string(1 << 20, '9')};
  for (const std::string& body : bodies) {
    EXPECT_FALSE(IsNewerVersion(body, "5.8")) << body.size();
    test::TestServer one;
    one.get("//cvuversion.txt",
            [&body](const test::RecordedRequest&, httplib::Response& res) { res.set_content(body, "text/plain"); });
    one.start();
    SetServiceHost(one.host());
    RunCheck();
    EXPECT_EQ(one.requests().size(), 1u);
  }
  EXPECT_TRUE(p.dialogs.messages.empty());
  EXPECT_TRUE(p.main.logList.lines.empty());
  EXPECT_EQ(p.main.infoStatus.value, "");
  EXPECT_TRUE(IsNewerVersion(longest, "5.8"));
}

}  // namespace
}  // namespace cvu
