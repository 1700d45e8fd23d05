// Logging in against the local service and against servers with canned answers.
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "account/login.h"
#include "service/demo_accounts.h"
#include "service/photo_service.h"
#include "support/test_server.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

using test::RecordedRequest;

constexpr Rgb kMaroon{128, 0, 0};
constexpr Rgb kGreen{0, 128, 0};

std::string NoticePage(const std::string& notice) {
  return "<html><!--CONTENT--><div id=\"glb_PageContent\"><div style=\"padding:10px;\">"
         "<div class=\"notice_red\">\r\n  " +
         notice + " \t\r\n</div></div></div><!--/CONTENT--></html>";
}

class LoginFixture : public test::UploadFixture {
 protected:
  void Credentials(const std::string& login, const std::string& password, bool save) {
    p.main.userName.setText(login);
    p.main.userSecure.setText(password);
    p.main.userSave.setChecked(save);
  }
  bool Logged(const std::string& body) const {
    const auto lines = p.logBodies();
    return std::find(lines.begin(), lines.end(), body) != lines.end();
  }
  void ExpectFailureDisplay() {
    EXPECT_EQ(p.main.authLabel.value, "Ошибка при авторизации");
    EXPECT_EQ(p.main.authLabel.rgb, kMaroon);
    EXPECT_FALSE(p.main.authBar.isVisible);
    EXPECT_TRUE(p.main.authBtn.isEnabled && p.main.userName.isEnabled && p.main.userSecure.isEnabled &&
                p.main.userSave.isEnabled);
    EXPECT_FALSE(p.ctx.LoginAttempted);
    EXPECT_EQ(p.ctx.account.user_name, "Anonymous");
  }
  std::vector<std::string> AlbumTexts() const {
    std::vector<std::string> texts;
    for (const auto& e : options.album.entries) texts.push_back(e.first + "=" + e.second);
    return texts;
  }
};

class LoginServiceTest : public LoginFixture {
 protected:
  void SetUp() override {
    LoginFixture::SetUp();
    const int port = service.start(0);
    ASSERT_GT(port, 0);
    SetServiceHost("localhost:" + std::to_string(port));
  }
  test::TempDir data;
  service::PhotoService service{{data.path(), "5.8"}};
};

TEST_F(LoginServiceTest, ADemoAccountLogsInStoresItsCredentialsAndListsItsAlbums) {
  Credentials("demo", "demo", true);
  Login(p.ctx);
  const auto demo = service::FindByLogin("demo");
  ASSERT_TRUE(demo);
  EXPECT_EQ(p.ctx.account.user_id, demo->id);
  EXPECT_EQ(p.ctx.account.user_hash, service::AccountHash(*demo));
  EXPECT_EQ(p.ctx.account.user_name, "demo");
  EXPECT_EQ(p.ctx.account.user_secure, "demo");
  EXPECT_EQ(p.main.authLabel.value, "Авторизация выполнена успешно");
  EXPECT_EQ(p.main.authLabel.rgb, kGreen);
  EXPECT_FALSE(p.main.authBtn.isEnabled || p.main.userName.isEnabled || p.main.userSecure.isEnabled);
  EXPECT_TRUE(p.main.userSave.isEnabled);
  EXPECT_TRUE(Logged("demo, теперь Вы можете полностью использовать этот сервис"));
  EXPECT_EQ(test::QueryText(p.dbPath(), "SELECT user_id || '/' || user_name || '/' || user_secure FROM CVU_DATA"),
            demo->id + "/demo/demo");
  EXPECT_TRUE(options.album.isEnabled);
  EXPECT_EQ(AlbumTexts(),
            (std::vector<std::string>{"Нет альбома=0", "Отпуск=11", "Cats & Dogs=12", "Разное <2026>=13"}));
  EXPECT_EQ(options.album.index, 0);
}

TEST_F(LoginServiceTest, WithoutSavingTheStoredCredentialsAreEmptiedAtOnce) {
  test::RunSql(p.dbPath(), "UPDATE CVU_DATA SET user_hash='x', user_id='y', user_name='z', user_secure='w'");
  Credentials("empty", "empty", false);
  Login(p.ctx);
  EXPECT_EQ(p.ctx.account.user_name, "empty");
  EXPECT_EQ(test::QueryText(p.dbPath(), "SELECT user_hash || user_id || user_name || user_secure FROM CVU_DATA"), "");
  EXPECT_EQ(AlbumTexts(), (std::vector<std::string>{"Нет альбома=0"}));
  EXPECT_TRUE(options.album.isEnabled);  // a document without albums was read
}

TEST_F(LoginServiceTest, AWrongPasswordFailsAndMayBeTriedAgainAtOnce) {
  Credentials("demo", "nope", true);
  Login(p.ctx);
  ExpectFailureDisplay();
  EXPECT_TRUE(Logged("Ошибка при авторизации: \"Вы ввели неправильный логин и/или пароль\""));
  // The album step still ran, with the anonymous cookies: no albums.
  EXPECT_FALSE(options.album.isEnabled);
  EXPECT_EQ(AlbumTexts(), (std::vector<std::string>{"Нет альбома=0"}));
  Credentials("demo", "demo", true);
  Login(p.ctx);
  EXPECT_EQ(p.ctx.account.user_name, "demo");
}

TEST_F(LoginServiceTest, UnknownUserAndMissingCredentialsHaveTheirReasons) {
  Credentials("nobody", "x", false);
  Login(p.ctx);
  EXPECT_TRUE(Logged("Ошибка при авторизации: \"Такого пользователя не существует\""));
  Credentials("", "", false);
  Login(p.ctx);
  EXPECT_TRUE(Logged("Ошибка при авторизации: \"Вы не ввели логин или пароль\""));
}

TEST_F(LoginServiceTest, ResetReturnsToTheAnonymousAccountOnlyWhenAllowed) {
  CVU_AuthResetBtnClick(p.ctx);  // before any login: nothing
  EXPECT_FALSE(p.main.authLabel.isVisible);
  Credentials("demo", "demo", true);
  Login(p.ctx);
  p.ctx.upload.Uploading = true;
  CVU_AuthResetBtnClick(p.ctx);
  EXPECT_EQ(p.ctx.account.user_name, "demo");
  p.ctx.upload.Uploading = false;
  CVU_AuthResetBtnClick(p.ctx);
  EXPECT_EQ(p.ctx.account.user_name, "Anonymous");
  EXPECT_EQ(p.ctx.account.user_hash, "0");
  EXPECT_FALSE(p.main.userSave.isChecked);
  EXPECT_EQ(p.main.userName.value, "");
  EXPECT_EQ(p.main.authLabel.value, "");
  EXPECT_EQ(p.main.authLabel.rgb, kMaroon);
  EXPECT_TRUE(p.main.authBtn.isEnabled && p.main.userName.isEnabled && p.main.userSave.isEnabled);
  EXPECT_FALSE(options.album.isEnabled);
  EXPECT_EQ(AlbumTexts(), (std::vector<std::string>{"Нет альбома=0"}));
  SaveSettings(p.ctx);
  EXPECT_EQ(test::QueryText(p.dbPath(), "SELECT user_hash || user_id || user_name || user_secure FROM CVU_DATA"), "");
}

TEST_F(LoginServiceTest, AnUploadAfterLoginGoesToTheChosenAlbumOfTheAccount) {
  Credentials("demo", "demo", false);
  Login(p.ctx);
  options.album.setItemIndex(2);  // "Cats & Dogs"
  Queue(MakeFile("pet.png"));
  ASSERT_TRUE(RunUpload());
  ASSERT_EQ(p.ctx.history.RunHistory.count(), 1);
  std::ifstream meta(data.path() / "meta" / (p.ctx.history.RunHistory.at(0).image_id + ".txt"));
  std::stringstream text;
  text << meta.rdbuf();
  EXPECT_NE(text.str().find("album=12\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("user=" + service::FindByLogin("demo")->id + "\n"), std::string::npos) << text.str();
}

class LoginCannedTest : public LoginFixture {
 protected:
  void Serve(std::function<void(const RecordedRequest&, httplib::Response&)> login) {
    server.post("/", std::move(login));
    server.get("//ajax.php.*",
               [](const RecordedRequest&, httplib::Response& res) { res.set_content("#404#Albums#", "text/plain"); });
    server.start();
    SetServiceHost(server.host());
  }
  std::size_t Count(const std::string& method) const {
    std::size_t n = 0;
    for (const auto& r : server.requests()) n += r.method == method;
    return n;
  }
  test::TestServer server;
};

TEST_F(LoginCannedTest, TheRequestCarriesTheFourFieldsAndItsOwnCookieLine) {
  Serve([](const RecordedRequest&, httplib::Response& res) { res.set_content(NoticePage("?"), "text/html"); });
  Credentials("Пользователь", "пароль", false);
  Login(p.ctx);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].requestLine, "POST / HTTP/1.1");
  EXPECT_EQ(requests[0].headerCount("Cookie"), 1u);
  EXPECT_EQ(requests[0].header("Cookie"), "corvane_lng=en; path=/;");
  const std::vector<std::pair<std::string, std::string>> fields = {
      {"inlogin", "true"}, {"cookie", "on"}, {"login", "Пользователь"}, {"password", "пароль"}};
  ASSERT_EQ(requests[0].parts.size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(requests[0].parts[i].name, fields[i].first);
    EXPECT_EQ(requests[0].parts[i].content, fields[i].second);
  }
  EXPECT_EQ(requests[1].requestLine, "GET //ajax.php?action=get.Albums HTTP/1.1");
  EXPECT_EQ(requests[1].header("Cookie"), "corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;");
}

TEST_F(LoginCannedTest, AnUnrecognisedAnswerShowsTheFailureWithoutALogLine) {
  Serve([](const RecordedRequest&, httplib::Response& res) {
    res.set_content(NoticePage("now you can use this service"), "text/html");
  });
  Credentials("a", "b", false);
  Login(p.ctx);
  ExpectFailureDisplay();
  EXPECT_EQ(p.logBodies().back(), "Выполняется авторизация...");
  EXPECT_EQ(Count("GET"), 1u);  // the album step ran
}

TEST_F(LoginCannedTest, APageWithoutContentBlockShowsTheFailureToo) {
  Serve(
      [](const RecordedRequest&, httplib::Response& res) { res.set_content("<html>maintenance</html>", "text/html"); });
  Login(p.ctx);
  ExpectFailureDisplay();
  EXPECT_EQ(p.logBodies().back(), "Выполняется авторизация...");
}

TEST_F(LoginCannedTest, SuccessTakesTheSecondAndThirdCookieAcrossARedirect) {
  server.post("/", [](const RecordedRequest&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Set-Cookie", "first=1; path=/");
    res.set_header("Set-Cookie", "corvane_user_id=555; path=/");
    res.set_header("Location", "/welcome");
  });
  server.get("/welcome", [](const RecordedRequest&, httplib::Response& res) {
    res.set_header("Set-Cookie", "corvane_hash=abcdef; path=/");
    res.set_header("Set-Cookie", "first=2; path=/");  // keeps its position
    res.set_content(NoticePage("Now you can use this service"), "text/html");
  });
  server.get("//ajax.php.*", [](const RecordedRequest&, httplib::Response& res) {
    res.set_content("<albums><album><album_id>1</album_id><name>A</name></album></albums>", "text/xml");
  });
  server.start();
  SetServiceHost(server.host());
  Credentials("bob", "pw", true);
  Login(p.ctx);
  EXPECT_EQ(p.ctx.account.user_id, "555");
  EXPECT_EQ(p.ctx.account.user_hash, "abcdef");
  EXPECT_TRUE(p.ctx.LoginAttempted);
  const auto albums = server.last();
  EXPECT_EQ(albums.header("Cookie").rfind("corvane_user_id=555; corvane_lng=en; corvane_hash=abcdef; path=/;", 0), 0u);
  EXPECT_EQ(AlbumTexts(), (std::vector<std::string>{"Нет альбома=0", "A=1"}));
  const auto before = server.requests().size();
  Login(p.ctx);  // already logged in: returns at once
  EXPECT_EQ(server.requests().size(), before);
}

TEST_F(LoginCannedTest, SuccessWithoutTheAccountCookiesCountsAsFailed) {
  Serve([](const RecordedRequest&, httplib::Response& res) {
    res.set_header("Set-Cookie", "only=1; path=/");
    res.set_content(NoticePage("Now you can use this service"), "text/html");
  });
  Credentials("bob", "pw", true);
  Login(p.ctx);
  ExpectFailureDisplay();
  EXPECT_EQ(p.logBodies().back().rfind("#307# ", 0), 0u);
  EXPECT_FALSE(Logged("Авторизация выполнена успешно"));
  EXPECT_EQ(test::QueryText(p.dbPath(), "SELECT user_name FROM CVU_DATA"), "");
}

TEST_F(LoginCannedTest, AnErrorStatusIsLoggedWithItsCode) {
  Serve([](const RecordedRequest&, httplib::Response& res) { res.status = 500; });
  Login(p.ctx);
  ExpectFailureDisplay();
  EXPECT_TRUE(Logged("#307# HTTP/1.1 500 Internal Server Error"));
}

TEST_F(LoginCannedTest, TheWindowKeepsProcessingWhileASlowServerAnswers) {
  Serve([](const RecordedRequest&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    res.set_content(NoticePage("This user does not exist"), "text/html");
  });
  int rounds = 0;
  p.ctx.uiWaitHook = [&] { ++rounds; };
  Login(p.ctx);
  EXPECT_GT(rounds, 10);
  EXPECT_TRUE(Logged("Ошибка при авторизации: \"Такого пользователя не существует\""));
}

TEST(LoginNotice, MarkersAndBlanksAreRemovedButCaseAndFullStopsCount) {
  EXPECT_EQ(LoginNotice(NoticePage("This user does not exist")), "This user does not exist");
  EXPECT_EQ(LoginNotice("a<!--CONTENT-->x<!--/CONTENT-->b<!--/CONTENT-->c"), "x<!--/CONTENT-->b");
  EXPECT_FALSE(LoginNotice("<!--CONTENT--><!--/CONTENT-->"));
  EXPECT_EQ(ClassifyLoginNotice("This user does not exist."), LoginAnswer::Unknown);
  EXPECT_EQ(ClassifyLoginNotice("THIS USER DOES NOT EXIST"), LoginAnswer::Unknown);
  EXPECT_EQ(ClassifyLoginNotice("Now you can use this service"), LoginAnswer::Success);
}

}  // namespace
}  // namespace cvu
