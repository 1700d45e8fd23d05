// corvane-upload sends what the windowed program's upload worker sends for the same
// choices: the same bytes on the wire, the same requests in the same order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli/upload_command.h"
#include "common/identity.h"
#include "headless/headless_windows.h"
#include "store/settings.h"
#include "support/test_server.h"
#include "support/test_support.h"
#include "upload/upload_options.h"
#include "upload/upload_worker.h"

namespace cvu {
namespace {

constexpr const char* kResultPage = "<html><!--{Information:{ID:abc123}{MD:i7}{NAME:abc123.png}{TH:0}}--></html>";

// The boundary is the HTTP library's random choice and the port each listener's own:
// everything else must match byte for byte.
std::string Normalised(std::string bytes, int port) {
  const std::string host = "127.0.0.1:" + std::to_string(port);
  for (auto at = bytes.find(host); at != std::string::npos; at = bytes.find(host))
    bytes.replace(at, host.size(), "HOST");
  const auto b = bytes.find("boundary=");
  if (b == std::string::npos) return bytes;
  const std::string boundary = bytes.substr(b + 9, bytes.find("\r\n", b) - b - 9);
  for (auto at = bytes.find(boundary); at != std::string::npos; at = bytes.find(boundary, at + 8)) {
    bytes.replace(at, boundary.size(), "BOUNDARY");
  }
  return bytes;
}

struct Choice {
  std::string name;
  std::vector<std::string> args;                                           // corvane-upload's options
  std::function<void(test::HeadlessProgram&, HeadlessUpOptions&)> window;  // the same, by hand
};

class CliRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database = work.file("cvxas.common.dll");
    std::filesystem::copy_file(CVU_TEST_SUPPLIED_DB, database);
    image = work.file("holiday.jpg");
    std::ofstream(image, std::ios::binary) << std::string(3000, 'x') << "\r\n--tail";
  }
  void TearDown() override { SetServiceHost(kDefaultServiceHost); }

  // The windowed program: the choices made in its windows, the file dropped, "Загрузить".
  void RunWindowed(const std::string& host, const Choice& choice, const std::string& storedAccountSql = "") {
    test::HeadlessProgram p;
    if (!storedAccountSql.empty()) test::RunSql(p.dbPath(), storedAccountSql);
    HeadlessUpOptions options;
    ResetUploadOptions(options);
    p.ctx.upOptions = &options;
    ASSERT_TRUE(LoadSettings(p.ctx));
    if (choice.window) choice.window(p, options);
    SetServiceHost(host);
    p.main.uploadTable.addLine(image);
    CVU_UploadBtnClick(p.ctx);
    ASSERT_TRUE(p.ui.runUntil([&] { return !p.ctx.upload.Uploading && p.ctx.uploadWorkers.idle(); }));
  }

  int RunCli(const std::string& host, std::vector<std::string> args) {
    args.insert(args.end(), {"--database", database, "--host", host, image});
    std::istringstream in;
    std::ostringstream out, err;
    cli::StopRequests stops;
    const int status = cli::CorvaneUploadMain(args, {in, out, err, false, nullptr}, stops);
    cliOut = out.str();
    cliErr = err.str();
    return status;
  }

  test::TempDir work;
  std::string database;
  std::string image;
  std::string cliOut, cliErr;
};

// The settings row as the windowed program leaves it after a login with the account saved.
const char* kStoredAccount =
    "INSERT INTO CVU_DATA(wPosLeft, wPosTop) SELECT 0, 0 WHERE NOT EXISTS (SELECT 1 FROM CVU_DATA);"
    "UPDATE CVU_DATA SET user_hash='h4sh', user_id='77', user_name='bob', user_secure='pw'";

std::vector<Choice> Choices() {
  return {
      {"initial state", {}, nullptr},
      {"quality, filter, texts, publish",
       {"--quality", "55", "--filter", "sepia", "--thumbtext", "mine", "--title", "Закат \"1\"", "--publish"},
       [](test::HeadlessProgram&, HeadlessUpOptions& o) {
         o.effOff.setChecked(false);
         CVU_Ef_EffOffClick(o);
         o.quality.setValue(55);
         o.filter.setItemIndex(3);
         o.thText.setText("mine");
         o.title.setText("Закат \"1\"");
         o.published.setChecked(true);
       }},
      {"album",
       {"--album", "11"},
       [](test::HeadlessProgram&, HeadlessUpOptions& o) {
         o.album.setEntries({{"Нет альбома", "0"}, {"Отпуск", "11"}});
         o.album.setItemIndex(1);
       }},
      {"conversion with the initial values",
       {"--convert"},
       [](test::HeadlessProgram&, HeadlessUpOptions& o) {
         o.effOff.setChecked(false);
         CVU_Ef_EffOffClick(o);
       }},
  };
}

// A listener that keeps the request's bytes and answers "not uploaded", so no second
// request follows.
TEST_F(CliRequestsTest, TheUploadRequestsBytesEqualTheWindowedProgramsForEachChoice) {
  for (const Choice& choice : Choices()) {
    SCOPED_TRACE(choice.name);
    const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    test::RawListener windowed(answer), command(answer);
    RunWindowed("127.0.0.1:" + std::to_string(windowed.port()), choice);
    EXPECT_EQ(RunCli("127.0.0.1:" + std::to_string(command.port()), choice.args), 1);
    const std::string sent = windowed.received();
    ASSERT_NE(sent.find("POST //upload.html HTTP/1.1\r\n"), std::string::npos);
    EXPECT_EQ(Normalised(command.received(), command.port()), Normalised(sent, windowed.port()));
    EXPECT_NE(cliErr.find("Изображение \"holiday.jpg\"  не загружено"), std::string::npos) << cliErr;
    EXPECT_EQ(cliOut, "");
  }
}

TEST_F(CliRequestsTest, TheStoredAccountAndAnonymousUploadSendTheWindowsCookies) {
  test::RunSql(database, kStoredAccount);
  const Choice anonymous{"send anonymously", {"--anonymous"}, [](test::HeadlessProgram& p, HeadlessUpOptions&) {
                           p.main.sendAnonymous.isChecked = true;
                         }};
  for (const Choice& choice : {Choice{"stored account", {}, nullptr}, anonymous}) {
    SCOPED_TRACE(choice.name);
    const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    test::RawListener windowed(answer), command(answer);
    RunWindowed("127.0.0.1:" + std::to_string(windowed.port()), choice, kStoredAccount);
    RunCli("127.0.0.1:" + std::to_string(command.port()), choice.args);
    const std::string sent = Normalised(command.received(), command.port());
    EXPECT_EQ(sent, Normalised(windowed.received(), windowed.port()));
    const bool anon = !choice.args.empty();
    EXPECT_NE(sent.find(anon ? "Cookie: corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;\r\n"
                             : "Cookie: corvane_user_id=77; corvane_lng=en; corvane_hash=h4sh; path=/;\r\n"),
              std::string::npos)
        << sent.substr(0, 400);
  }
}

// Upload, result page, record: the same requests in the same order, the result page
// fetched with the account's cookies even when the upload went anonymously.
TEST_F(CliRequestsTest, TheWholeExchangeMatchesTheWindowedProgram) {
  test::RunSql(database, kStoredAccount);
  const auto serve = [](test::TestServer& server) {
    server.post("//upload.html", [](const test::RecordedRequest&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "i-abc123");
    });
    server.get("/i-.*",
               [](const test::RecordedRequest&, httplib::Response& res) { res.set_content(kResultPage, "text/html"); });
    server.start();
  };
  test::TestServer windowed, command;
  serve(windowed);
  serve(command);
  RunWindowed(windowed.host(),
              {"", {}, [](test::HeadlessProgram& p, HeadlessUpOptions&) { p.main.sendAnonymous.isChecked = true; }},
              kStoredAccount);
  ASSERT_EQ(RunCli(command.host(), {"--anonymous", "--format", "direct"}), 0) << cliErr;
  EXPECT_EQ(cliOut, "http://i7." + command.host() + "/abc123.png\n");

  const auto expected = windowed.requests();
  const auto got = command.requests();
  ASSERT_EQ(got.size(), 2u);
  ASSERT_EQ(expected.size(), got.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].requestLine, expected[i].requestLine);
    EXPECT_EQ(got[i].header("Cookie"), expected[i].header("Cookie"));
    EXPECT_EQ(got[i].header("User-Agent"), expected[i].header("User-Agent"));
    EXPECT_EQ(got[i].parts.size(), expected[i].parts.size());
  }
  EXPECT_EQ(got[0].header("Cookie"), "corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;");
  EXPECT_EQ(got[1].requestLine, "GET /i-abc123 HTTP/1.1");
  EXPECT_EQ(got[1].header("Cookie"), "corvane_user_id=77; corvane_lng=en; corvane_hash=h4sh; path=/;");
  EXPECT_EQ(test::QueryText(database,
                            "SELECT image_id || '|' || folder_id || '|' || image_th || '|' || base_file || "
                            "'|' || base_filefolder FROM CVU_HISTORY"),
            "abc123|i7|0|holiday.jpg|" + image);
}

}  // namespace
}  // namespace cvu
