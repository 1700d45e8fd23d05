#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "common/identity.h"
#include "support/test_server.h"
#include "support/test_support.h"
#include "upload/fetch_upload_result.h"

namespace cvu {
namespace {

const std::string kOpen = "<!--{Information:{ID:";

TEST(FindUploadResult, TakesTheFourValuesOfTheComment) {
  struct Case {
    const char* what;
    std::string page;
    std::optional<std::vector<std::string>> ids;
  };
  const std::string two = "<p>" + kOpen + "x1}{MD:s2}{NAME:x1.jpg}{TH:0}}--> mid " + kOpen +
                          "y2}{MD:s3}{NAME:y2.png}{TH:y2.th.png}}--></p>";
  const Case cases[] = {
      {"plain", "<html>" + kOpen + "x1}{MD:s2}{NAME:x1.jpg}{TH:0}}--></html>",
       std::vector<std::string>{"x1", "s2", "x1.jpg", "0"}},
      {"over lines", kOpen + "x1\r\n}{MD:s2}{NAME:x1.jpg}{TH:\n0}}-->",
       std::vector<std::string>{"x1\r\n", "s2", "x1.jpg", "\n0"}},
      {"lower-case keys", "<!--{Information:{id:x1}{md:s2}{NAME:x1.jpg}{TH:0}}-->", std::nullopt},
      {"an empty value", kOpen + "}{MD:s2}{NAME:x1.jpg}{TH:0}}-->", std::nullopt},
      {"no closing", kOpen + "x1}{MD:s2}{NAME:x1.jpg}{TH:0}}", std::nullopt},
      {"two comments: greedy captures reach the last one", two,
       std::vector<std::string>{"x1}{MD:s2}{NAME:x1.jpg}{TH:0}}--> mid " + kOpen + "y2", "s3", "y2.png", "y2.th.png"}},
      {"bytes that are not UTF-8", "\xff\xfe" + kOpen + "\xe9\x01}{MD:s}{NAME:n}{TH:t}}-->",
       std::vector<std::string>{"\xe9\x01", "s", "n", "t"}},
  };
  for (const auto& c : cases) {
    const auto found = FindUploadResult(c.page);
    ASSERT_EQ(found.has_value(), c.ids.has_value()) << c.what;
    if (!found) continue;
    EXPECT_EQ((std::vector<std::string>{found->imageId, found->folderId, found->imageName, found->thumbName}), *c.ids)
        << c.what;
  }
}

class FetchUploadResultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.get("/i-abc", [](const test::RecordedRequest&, httplib::Response& res) {
      res.set_content("<html>\n" + kOpen + "abc}{MD:i1}{NAME:abc.jpg}{TH:0}}-->\n</html>", "text/html");
    });
    server.get("/i-moved", [](const test::RecordedRequest&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "/elsewhere");
    });
    server.get("/i-plain", [](const test::RecordedRequest&, httplib::Response& res) {
      res.set_content("<html>no comment</html>", "text/html");
    });
    // A page that comes a byte every 20 ms, for at most 10 s.
    server.get("/i-drip", [](const test::RecordedRequest&, httplib::Response& res) {
      res.set_chunked_content_provider("text/html", [](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= 500) {
          sink.done();
          return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return sink.write("x", 1);
      });
    });
    // A page of 64 MB, made as it is sent; hugeSent counts what the socket took.
    server.get("/i-huge", [this](const test::RecordedRequest&, httplib::Response& res) {
      res.set_chunked_content_provider("text/html", [this](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= kHugePage) {
          sink.done();
          return true;
        }
        const std::string megabyte(1 << 20, 'x');
        if (!sink.write(megabyte.data(), megabyte.size())) return false;
        hugeSent = offset + megabyte.size();
        return true;
      });
    });
    server.start();
    savedHost = ServiceHost();
    SetServiceHost(server.host());
  }
  void TearDown() override { SetServiceHost(savedHost); }

  // Runs the retrieval on a worker thread, as an upload run does, while this thread
  // serves as the UI thread that writes the log.
  std::optional<UploadResultIds> Fetch(const std::string& location) {
    bool finished = false;
    std::optional<UploadResultIds> ids;
    const AccountValues account = program.ctx.account;
    std::thread worker([&] {
      const auto log = [this](const std::string& message, const std::string& argument) {
        program.ctx.AddLogLine(message, argument);
      };
      ids = FetchResultIds(location, account, program.ctx.http, log);
      program.ctx.ui.post([&] { finished = true; });
    });
    const bool done = program.ui.runUntil([&] { return finished; });
    worker.join();
    EXPECT_TRUE(done);
    return ids;
  }

  static constexpr std::size_t kHugePage = std::size_t{64} << 20;
  std::atomic<std::size_t> hugeSent{0};
  test::TestServer server;
  test::HeadlessProgram program;
  std::string savedHost;
};

TEST_F(FetchUploadResultTest, ReadsTheImagesIdentifiersWithTheLoggedInCookieLine) {
  program.ctx.account.user_id = "1001";
  program.ctx.account.user_hash = "feed";
  program.ctx.account.user_name = "demo";
  const auto ids = Fetch("i-abc");
  const auto request = server.last();
  EXPECT_EQ(request.requestLine, "GET /i-abc HTTP/1.1");
  EXPECT_EQ(request.header("Cookie"), "corvane_user_id=1001; corvane_lng=en; corvane_hash=feed; path=/;");
  EXPECT_EQ(request.header("User-Agent"), "Corvane v5");
  EXPECT_EQ(program.logBodies(), (std::vector<std::string>{"Ссылки получены"}));
  ASSERT_TRUE(ids.has_value());
  EXPECT_EQ((std::vector<std::string>{ids->imageId, ids->folderId, ids->imageName, ids->thumbName}),
            (std::vector<std::string>{"abc", "i1", "abc.jpg", "0"}));
}

TEST_F(FetchUploadResultTest, FailuresAreLoggedAsTheyAreThenError061) {
  struct Case {
    std::string location;
    std::vector<std::string> log;
    std::chrono::milliseconds answerTimeout = HttpSettings{}.answerTimeout;
  };
  const Case cases[] = {
      {"i-moved", {"HTTP/1.1 302 Found", "[Error 061] Ошибка обработки данных"}},
      {"i-plain", {"[Error 061] Ошибка обработки данных"}},
      {"i-missing", {"HTTP/1.1 404 Not Found", "[Error 061] Ошибка обработки данных"}},
      {"i-drip",
       {"Operation timed out: the answer took longer than 300 milliseconds", "[Error 061] Ошибка обработки данных"},
       std::chrono::milliseconds(300)},
      {"i-huge", {"Answer too large: more than 8388608 bytes", "[Error 061] Ошибка обработки данных"}},
  };
  for (const auto& c : cases) {
    program.ctx.http.answerTimeout = c.answerTimeout;
    program.main.logList.lines.clear();
    EXPECT_FALSE(Fetch(c.location).has_value()) << c.location;
    EXPECT_EQ(program.logBodies(), c.log) << c.location;
  }
  EXPECT_LT(hugeSent.load(), kHugePage);  // reading stopped at the limit
}

TEST_F(FetchUploadResultTest, ANetworkFailureLogsItsTextThenError061) {
  // Nothing listens on port 1 of the loopback address.
  SetServiceHost("127.0.0.1:1");
  EXPECT_FALSE(Fetch("i-abc").has_value());
  const auto log = program.logBodies();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find("127.0.0.1"), std::string::npos) << log[0];
  EXPECT_EQ(log[1], "[Error 061] Ошибка обработки данных");
}

}  // namespace
}  // namespace cvu
