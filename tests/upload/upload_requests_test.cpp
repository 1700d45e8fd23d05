// The upload requests as a server receives them, the service's answers, stopping and
// closing during a run: against an in-process server with canned answers.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/test_server.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

using test::RecordedRequest;

constexpr const char* kResultPage = "<html><!--{Information:{ID:abc123}{MD:i7}{NAME:abc123.png}{TH:0}}--></html>";

class UploadRequestsTest : public test::UploadFixture {
 protected:
  // Serves uploads with the given status and Location, and the result page.
  void Serve(int status, std::string location) {
    server.post("//upload.html", [this, status, location](const RecordedRequest&, httplib::Response& res) {
      uploads++;
      while (hold.load()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      if (refuse.load()) {
        res.status = 503;
        return;
      }
      res.status = status;
      if (!location.empty()) res.set_header("Location", location);
    });
    server.get("/i-.*",
               [](const RecordedRequest&, httplib::Response& res) { res.set_content(kResultPage, "text/html"); });
    server.start();
    SetServiceHost(server.host());
  }
  std::vector<RecordedRequest> UploadRequests() const {
    std::vector<RecordedRequest> found;
    for (const auto& r : server.requests()) {
      if (r.method == "POST") found.push_back(r);
    }
    return found;
  }
  bool Logged(const std::string& body) const {
    const auto lines = p.logBodies();
    return std::find(lines.begin(), lines.end(), body) != lines.end();
  }

  test::TestServer server;
  std::atomic<int> uploads{0};
  std::atomic<bool> hold{false};
  std::atomic<bool> refuse{false};  // every upload answered 503
};

TEST_F(UploadRequestsTest, TheRequestCarriesTheEightFieldsInOrderAndEveryFileAsPng) {
  Serve(302, "i-abc123");
  options.title.setText("Закат");
  options.thText.setText("mine");
  options.published.setChecked(true);
  options.effOff.setChecked(false);
  options.filter.setItemIndex(3);
  options.quality.setValue(55);
  Queue(MakeFile("holiday.jpg", 3000));
  ASSERT_TRUE(RunUpload());

  const auto posts = UploadRequests();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].requestLine, "POST //upload.html HTTP/1.1");
  EXPECT_EQ(posts[0].header("User-Agent"), "Corvane v5");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"quality", "55"}, {"filter", "5"}, {"thumbtext", "mine"}, {"title", "Закат"},
      {"album_id", ""},  {"nod", "off"},  {"published", "on"}};
  ASSERT_EQ(posts[0].parts.size(), 8u);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(posts[0].parts[i].name, expected[i].first);
    EXPECT_EQ(posts[0].parts[i].content, expected[i].second);
  }
  EXPECT_EQ(posts[0].parts[7].name, "imgfile[]");
  EXPECT_EQ(posts[0].parts[7].filename, "holiday.jpg");
  EXPECT_EQ(posts[0].parts[7].contentType, "image/png");
  EXPECT_EQ(posts[0].parts[7].content, std::string(3000, 'x'));

  const auto all = server.requests();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].requestLine, "GET /i-abc123 HTTP/1.1");
  EXPECT_FALSE(Logged("HTTP/1.1 302 Found"));
  EXPECT_TRUE(Logged("Ссылки получены"));
  ASSERT_EQ(p.ctx.history.RunHistory.count(), 1);
  EXPECT_EQ(p.ctx.history.RunHistory.at(0).folder_id, "i7");
}

TEST_F(UploadRequestsTest, CookieLineFollowsTheAccountAndTheAnonymousOption) {
  Serve(302, "i-abc123");
  const std::string anonymousLine = "corvane_user_id=0; corvane_lng=en; corvane_hash=0; path=/;";
  Queue(MakeFile("a.png"));
  p.main.sendAnonymous.isChecked = true;  // ignored while nobody is logged in
  p.ctx.account = {"h4sh", "77", "Anonymous", "0"};
  ASSERT_TRUE(RunUpload());
  p.ctx.account = {"h4sh", "77", "bob", "pw"};
  Queue(MakeFile("b.png"));
  ASSERT_TRUE(RunUpload());
  p.main.sendAnonymous.isChecked = false;
  Queue(MakeFile("c.png"));
  ASSERT_TRUE(RunUpload());

  const auto posts = UploadRequests();
  ASSERT_EQ(posts.size(), 3u);
  for (const auto& post : posts) EXPECT_EQ(post.headerCount("Cookie"), 1u);
  EXPECT_EQ(posts[0].header("Cookie"), "corvane_user_id=77; corvane_lng=en; corvane_hash=h4sh; path=/;");
  EXPECT_EQ(posts[1].header("Cookie"), anonymousLine);
  EXPECT_EQ(posts[2].header("Cookie"), "corvane_user_id=77; corvane_lng=en; corvane_hash=h4sh; path=/;");
}

TEST_F(UploadRequestsTest, AnAnswerWithoutLocationIsNotUploaded) {
  Serve(200, "");
  Queue(MakeFile("a.png"));
  ASSERT_TRUE(RunUpload());
  EXPECT_TRUE(Logged("Изображение \"a.png\"  не загружено"));
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 0);
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(p.main.linksTable.subtitles.back().rfind("Изображений: 1, Загружено: ", 0), 0u);
}

TEST_F(UploadRequestsTest, AServerErrorIsLoggedAndNotUploaded) {
  Serve(500, "");
  Queue(MakeFile("a.png"));
  ASSERT_TRUE(RunUpload());
  EXPECT_TRUE(Logged("HTTP/1.1 500 Internal Server Error"));
  EXPECT_TRUE(Logged("Изображение \"a.png\"  не загружено"));
  const auto& full = p.main.pbarFull.positions;
  EXPECT_EQ(std::count(full.begin(), full.end(), 1), 0);  // never advanced
}

// The files that exist but were not uploaded stay listed for the next "Загрузить", which
// sends exactly them; the log says how many of the group's files were not uploaded.
TEST_F(UploadRequestsTest, FilesNotUploadedStayListedAndTheGroupsEndSaysHowMany) {
  Serve(302, "i-abc123");
  refuse = true;
  const std::string a = MakeFile("a.png"), b = MakeFile("b.png");
  Queue(a);
  Queue(p.dir.file("gone.png"));
  Queue(b);
  ASSERT_TRUE(RunUpload());
  EXPECT_EQ(p.main.uploadTable.lines, (std::vector<std::string>{a, b}));
  EXPECT_EQ(LogFrom("Не загружено"),
            (std::vector<std::string>{"Не загружено изображений: 3 из 3", "============", "Изображения загружены"}));
  EXPECT_EQ(p.main.linksTable.subtitles.back().rfind("Изображений: 2, Загружено: ", 0), 0u);

  refuse = false;
  p.main.logList.lines.clear();
  ASSERT_TRUE(RunUpload());
  EXPECT_EQ(uploads.load(), 4);
  EXPECT_EQ(p.main.uploadTable.count(), 0);
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 2);
  EXPECT_TRUE(LogFrom("Не загружено").empty());
}

TEST_F(UploadRequestsTest, AServerErrorWithLocationStillCountsAsUploaded) {
  Serve(500, "i-abc123");
  Queue(MakeFile("a.png"));
  ASSERT_TRUE(RunUpload());
  EXPECT_TRUE(Logged("HTTP/1.1 500 Internal Server Error"));
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 1);
}

TEST_F(UploadRequestsTest, ARefusedConnectionIsLoggedAndTheRunEnds) {
  SetServiceHost("127.0.0.1:1");
  Queue(MakeFile("a.png"));
  Queue(MakeFile("b.png"));
  ASSERT_TRUE(RunUpload());
  EXPECT_TRUE(Logged("Изображение \"b.png\"  не загружено"));
  EXPECT_EQ(p.logBodies().back(), "Изображения загружены");
}

TEST_F(UploadRequestsTest, AFileThatCannotBeReadIsNotUploaded) {
  Serve(302, "i-abc123");
  // A socket is an existing entry that is no folder, and no one can open it for reading.
  const std::string path = p.dir.file("socket.png");
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof(address.sun_path) - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  Queue(path);
  ASSERT_TRUE(RunUpload());
  ::close(fd);
  EXPECT_TRUE(Logged("Не удалось прочитать файл \"socket.png\""));
  EXPECT_TRUE(Logged("Изображение \"socket.png\"  не загружено"));
  EXPECT_EQ(uploads.load(), 0);
}

TEST_F(UploadRequestsTest, StopDuringTheFirstOfFiveFinishesItAndEndsTheGroup) {
  Serve(302, "i-abc123");
  p.main.autoAction.setItemIndex(1);
  for (int i = 0; i < 5; ++i) Queue(MakeFile("f" + std::to_string(i) + ".png"));
  hold = true;
  CVU_UploadBtnClick(p.ctx);
  ASSERT_TRUE(p.ui.runUntil([this] { return uploads.load() == 1; }));
  CVU_UploadBtnClick(p.ctx);  // "Остановить загрузку"
  EXPECT_FALSE(p.main.uploadBtn.isEnabled);
  EXPECT_FALSE(p.ctx.upload.Uploading);
  hold = false;
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(uploads.load(), 1);
  EXPECT_EQ(p.main.uploadTable.count(), 0);
  EXPECT_EQ(p.main.linksTable.subtitles.back(), "Изображений: 1, Загружено: 8 Декабрь 2026 г. 0:09:04");
  EXPECT_TRUE(p.main.uploadBtn.isEnabled);
  EXPECT_EQ(p.main.uploadBtn.text, "Загрузить");
  EXPECT_EQ(p.clipboard.text(), "http://" + server.host() + "/i-abc123");
}

TEST_F(UploadRequestsTest, FilesAddedDuringARunJoinTheRunningGroup) {
  Serve(302, "i-abc123");
  Queue(MakeFile("a.png"));
  hold = true;
  CVU_UploadBtnClick(p.ctx);
  ASSERT_TRUE(p.ui.runUntil([this] { return uploads.load() == 1; }));
  Queue(MakeFile("b.png"));
  hold = false;
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(uploads.load(), 2);
  EXPECT_EQ(p.ctx.history.RunHistory.at(1).group, "0");
  EXPECT_EQ(p.main.linksTable.groups.size(), 1u);
}

TEST_F(UploadRequestsTest, ClosingDuringATransferAbortsItAndStartsNoOtherWorker) {
  Serve(302, "i-abc123");
  Queue(MakeFile("a.png"));
  Queue(MakeFile("b.png"));
  hold = true;
  CVU_UploadBtnClick(p.ctx);
  ASSERT_TRUE(p.ui.runUntil([this] { return uploads.load() == 1; }));
  p.ctx.http.abort->abort();
  p.ctx.uploadWorkers.close([this] { p.ui.drain(); });
  hold = false;
  EXPECT_TRUE(p.ctx.uploadWorkers.idle());
  EXPECT_EQ(uploads.load(), 1);
  EXPECT_TRUE(Logged("Изображение \"a.png\"  не загружено"));
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 0);
  SaveSettings(p.ctx);
  EXPECT_FALSE(p.ctx.db.isOpen());
}

}  // namespace
}  // namespace cvu
