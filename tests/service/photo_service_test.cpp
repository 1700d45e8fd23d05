#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "common/text.h"
#include "http/http_client.h"
#include "http/session.h"
#include "service/demo_accounts.h"
#include "service/photo_service.h"
#include "support/test_support.h"
#include "upload/fetch_upload_result.h"

namespace cvu {
namespace {

// The notice of a page's content block, as the login reads it.
std::string ContentText(const std::string& page) {
  const auto begin = page.find("<!--CONTENT-->");
  const auto end = page.rfind("<!--/CONTENT-->");
  if (begin == std::string::npos || end == std::string::npos) return "(no content block)";
  std::string text = page.substr(begin + 14, end - begin - 14);
  for (const char* marker :
       {"<div id=\"glb_PageContent\">", "<div style=\"padding:10px;\">", "<div class=\"notice_red\">",
        "<div class=\"notice_blue\">", "<div class=\"notice_green\">", "</div>"}) {
    text = ReplaceAll(text, marker, "");
  }
  return TrimControl(text);
}

class PhotoServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port = service.start(0);
    ASSERT_GT(port, 0);
    std::ofstream(dir.file("holiday.jpg"), std::ios::binary) << image;
  }
  std::string url(const std::string& target) const { return "http://localhost:" + std::to_string(port) + target; }

  MultipartForm UploadForm(const std::string& nod, const std::string& album = "0") const {
    MultipartForm form;
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{{"quality", "80"},
                                                                                      {"filter", "2"},
                                                                                      {"thumbtext", ""},
                                                                                      {"title", "Holiday <1>"},
                                                                                      {"album_id", album},
                                                                                      {"nod", nod},
                                                                                      {"published", "on"}}) {
      form.addText(name, value);
    }
    form.addFile("imgfile[]", dir.file("holiday.jpg"), "image/png");
    return form;
  }

  // Posts the upload; returns the Location of the answer ("" when there was none).
  std::string Upload(HttpClient& client, const MultipartForm& form) {
    try {
      client.post(url("//upload.html"), form);
    } catch (const HttpError& e) {
      return e.location();
    }
    return client.location();
  }

  test::TempDir dir;
  test::TempDir data;
  service::PhotoService service{{data.path(), "5.9"}};
  int port = 0;
  const std::string image = std::string("\xff\xd8\xff\xe0", 4) + std::string(5000, 'j');
};

TEST_F(PhotoServiceTest, AnUploadLeadsToItsPageItsImageAndItsThumbnail) {
  HttpClient upload;
  MakeSession(upload, true, AccountValues::Anonymous());
  const std::string location = Upload(upload, UploadForm("off"));
  ASSERT_TRUE(location.starts_with("i-")) << location;

  HttpClient result;
  const std::string page = result.getText(url("/" + location));
  const auto ids = FindUploadResult(page);
  ASSERT_TRUE(ids);
  EXPECT_EQ("i-" + ids->imageId, location);
  EXPECT_EQ(ids->folderId, "i1");
  EXPECT_EQ(ids->imageName, ids->imageId + ".jpg");
  EXPECT_EQ(ids->thumbName, ids->imageId + ".th.jpg");
  EXPECT_NE(page.find("Holiday &lt;1&gt;"), std::string::npos);  // the title, escaped

  // Image servers are reached by host name: i1.localhost is the loopback address too.
  const std::string imageHost = "http://i1.localhost:" + std::to_string(port) + "/";
  HttpClient direct, thumb;
  EXPECT_TRUE(direct.getBytes(imageHost + ids->imageName) == image);
  EXPECT_TRUE(thumb.getBytes(imageHost + ids->thumbName) == image);
  HttpClient fullView;
  EXPECT_NE(fullView.getText(url("/f-" + ids->imageId)).find(imageHost + ids->imageName), std::string::npos);
}

TEST_F(PhotoServiceTest, NoConversionMeansNoThumbnail) {
  HttpClient upload;
  const std::string location = Upload(upload, UploadForm("on"));
  HttpClient result;
  const auto ids = FindUploadResult(result.getText(url("/" + location)));
  ASSERT_TRUE(ids);
  EXPECT_EQ(ids->thumbName, "0");
  HttpClient thumb;
  try {
    thumb.getBytes("http://i1.localhost:" + std::to_string(port) + "/" + ids->imageId + ".th.jpg");
    ADD_FAILURE() << "a thumbnail was served";
  } catch (const HttpError& e) {
    EXPECT_STREQ(e.what(), "HTTP/1.1 404 Not Found");
  }
}

TEST_F(PhotoServiceTest, AFormOutOfOrderIsRefusedWithoutLocation) {
  MultipartForm form;
  form.addText("filter", "2");
  form.addText("quality", "80");
  form.addFile("imgfile[]", dir.file("holiday.jpg"), "image/png");
  HttpClient client;
  try {
    client.post(url("//upload.html"), form);
    ADD_FAILURE() << "accepted";
  } catch (const HttpError& e) {
    EXPECT_STREQ(e.what(), "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(e.location(), "");
  }
  EXPECT_TRUE(std::filesystem::is_empty(data.path() / "incoming"));
}

struct LoginCase {
  const char* login;
  const char* password;
  const char* answer;
};

TEST_F(PhotoServiceTest, LoginAnswersWithTheNoticesTheClientKnows) {
  const LoginCase cases[] = {
      {"demo", "demo", "Now you can use this service"},
      {"demo", "wrong", "You entered an incorrect username and/or password"},
      {"nobody", "x", "This user does not exist"},
      {"", "demo", "You did not enter your username or password"},
      {"Пользователь", "пароль", "Now you can use this service"},
  };
  for (const auto& c : cases) {
    HttpClient client;
    client.setFollowRedirects(true);
    client.setExtraHeaders({"Cookie: corvane_lng=en; path=/;"});
    MultipartForm form;
    form.addText("inlogin", "true");
    form.addText("cookie", "on");
    form.addText("login", c.login);
    form.addText("password", c.password);
    EXPECT_EQ(ContentText(client.post(url("/"), form)), c.answer) << c.login << "/" << c.password;
  }
}

TEST_F(PhotoServiceTest, ALoggedInClientGetsItsAlbumsAndOthersGet404) {
  HttpClient client;
  client.setFollowRedirects(true);
  client.setExtraHeaders({"Cookie: corvane_lng=en; path=/;"});
  MultipartForm form;
  for (const auto& [n, v] : std::vector<std::pair<std::string, std::string>>{
           {"inlogin", "true"}, {"cookie", "on"}, {"login", "demo"}, {"password", "demo"}}) {
    form.addText(n, v);
  }
  client.post(url("/"), form);
  ASSERT_EQ(client.cookies().size(), 3u);
  const auto& demo = service::DemoAccounts().front();
  AccountValues account;
  account.user_id = client.cookies().at(1).value;
  account.user_hash = client.cookies().at(2).value;
  EXPECT_EQ(account.user_id, demo.id);
  EXPECT_EQ(account.user_hash, service::AccountHash(demo));

  MakeSession(client, false, account);
  const std::string xml = client.getBytes(url("//ajax.php?action=get.Albums"));
  EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << xml;
  EXPECT_NE(xml.find("<album_id>11</album_id>"), std::string::npos);
  EXPECT_NE(xml.find("<name>Отпуск</name>"), std::string::npos);
  EXPECT_NE(xml.find("<name>Cats &amp; Dogs</name>"), std::string::npos);

  HttpClient anonymous;
  MakeSession(anonymous, false, AccountValues::Anonymous());
  EXPECT_EQ(anonymous.getBytes(url("//ajax.php?action=get.Albums")), "#404#Albums#");
}

TEST_F(PhotoServiceTest, TheVersionFileHoldsTheConfiguredVersion) {
  HttpClient client;
  MakeSession(client, false, AccountValues::Anonymous());
  EXPECT_EQ(client.getText(url("//cvuversion.txt")), "5.9");
}

// A second service on a port in use is refused: sharing it, uploads would land in
// either service at random. The executable says why and ends with status 1.
TEST(PhotoServicePort, ASecondServiceOnAPortInUseIsRefused) {
  test::TempDir data;
  service::PhotoService first{{data.path()}};
  const int port = first.start(0);
  ASSERT_GT(port, 0);
  service::PhotoService second{{data.path()}};
  EXPECT_EQ(second.bind(port), -1);

  // timeout only guards against a service that would serve for ever.
  const std::string command =
      "timeout 20 " CVU_SERVICE_EXE " --port " + std::to_string(port) + " --data " + data.path().string() + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  const int status = ::pclose(pipe.release());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << output;
  EXPECT_EQ(output,
            "corvane-service: cannot listen on 127.0.0.1:" + std::to_string(port) + ": Address already in use\n");
}

TEST(DemoAccounts, HashesAreStableAndDistinct) {
  const auto& accounts = service::DemoAccounts();
  ASSERT_GE(accounts.size(), 2u);
  EXPECT_EQ(service::AccountHash(accounts[0]), service::AccountHash(accounts[0]));
  EXPECT_NE(service::AccountHash(accounts[0]), service::AccountHash(accounts[1]));
  EXPECT_FALSE(service::FindByCookies(accounts[0].id, service::AccountHash(accounts[1])));
  EXPECT_TRUE(service::FindByCookies(accounts[0].id, service::AccountHash(accounts[0])));
}

}  // namespace
}  // namespace cvu
