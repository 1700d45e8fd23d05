// The login follows redirects on the service's own host only: another host never
// receives the login form or a request, and the redirect answer is evaluated as it is.
#include "account/login.h"
#include "support/test_server.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

using test::RecordedRequest;

constexpr const char* kWelcome =
    "<html><!--CONTENT--><div class=\"notice_green\">Now you can use this service</div><!--/CONTENT--></html>";

struct RedirectCase {
  int status;
  const char* target;  // "other": another host; "ip": the service's port under another name;
                       // "own": the service's host written out; "relative": a path only
  bool followed;
};

void PrintTo(const RedirectCase& c, std::ostream* out) { *out << c.status << " to " << c.target; }

class LoginRedirectHostTest : public test::UploadFixture, public ::testing::WithParamInterface<RedirectCase> {
 protected:
  void SetUp() override {
    UploadFixture::SetUp();
    for (test::TestServer* s : {&service, &other}) {
      s->post("/", [this](const RecordedRequest&, httplib::Response& res) {
        res.status = GetParam().status;
        res.set_header("Set-Cookie", "first=1; path=/");
        res.set_header("Location", Target());
        res.set_content("<html>moved</html>", "text/html");
      });
      s->post("/welcome", [](const RecordedRequest&, httplib::Response& res) { Welcome(res); });
      s->get("/welcome", [](const RecordedRequest&, httplib::Response& res) { Welcome(res); });
      s->get("//ajax.php.*",
             [](const RecordedRequest&, httplib::Response& res) { res.set_content("#404#Albums#", "text/plain"); });
      s->start();
    }
    SetServiceHost("localhost:" + std::to_string(service.port()));
    p.main.userName.setText("bob");
    p.main.userSecure.setText("secret");
  }
  std::string Target() const {
    const std::string target = GetParam().target;
    if (target == "other") return other.url("/welcome");
    if (target == "ip") return service.url("/welcome");
    if (target == "own") return "http://localhost:" + std::to_string(service.port()) + "/welcome";
    return "/welcome";
  }
  static void Welcome(httplib::Response& res) {
    res.set_header("Set-Cookie", "corvane_user_id=555; path=/");
    res.set_header("Set-Cookie", "corvane_hash=abcdef; path=/");
    res.set_content(kWelcome, "text/html");
  }
  std::size_t WelcomeRequests(const test::TestServer& s) const {
    std::size_t n = 0;
    for (const auto& r : s.requests()) n += r.target == "/welcome";
    return n;
  }

  test::TestServer service;
  test::TestServer other;
};

TEST_P(LoginRedirectHostTest, OnlyTheServicesOwnHostIsFollowed) {
  Login(p.ctx);
  EXPECT_EQ(other.requests().size(), 0u);  // another host hears nothing, the password least of all
  if (GetParam().followed) {
    EXPECT_EQ(WelcomeRequests(service), 1u);
    EXPECT_EQ(p.ctx.account.user_id, "555");
    EXPECT_EQ(p.ctx.account.user_name, "bob");
    EXPECT_EQ(p.main.authLabel.value, "Авторизация выполнена успешно");
  } else {
    EXPECT_EQ(WelcomeRequests(service), 0u);
    // The redirect answer itself is the page: it holds no answer, so the login failed quietly.
    EXPECT_EQ(p.ctx.account.user_name, "Anonymous");
    EXPECT_EQ(p.main.authLabel.value, "Ошибка при авторизации");
    EXPECT_EQ(p.logBodies().back(), "Выполняется авторизация...");
  }
  // The album step runs in either case, on the service.
  EXPECT_EQ(service.last().target, "//ajax.php?action=get.Albums");
}

INSTANTIATE_TEST_SUITE_P(Targets, LoginRedirectHostTest,
                         ::testing::Values(RedirectCase{302, "other", false}, RedirectCase{307, "other", false},
                                           RedirectCase{308, "other", false}, RedirectCase{302, "ip", false},
                                           RedirectCase{302, "own", true}, RedirectCase{307, "own", true},
                                           RedirectCase{302, "relative", true}));

}  // namespace
}  // namespace cvu
