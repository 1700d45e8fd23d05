// Entries of the upload list that exist but are no regular files (a FIFO, a link to a
// device) are skipped like unreadable files, and never hold the worker up.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "support/test_server.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

using test::RecordedRequest;

class SpecialFilesTest : public test::UploadFixture {
 protected:
  void SetUp() override {
    UploadFixture::SetUp();
    server.post("//upload.html", [this](const RecordedRequest&, httplib::Response& res) {
      uploads++;
      res.status = 302;
      res.set_header("Location", "i-abc123");
    });
    server.get("/i-.*", [](const RecordedRequest&, httplib::Response& res) {
      res.set_content("<!--{Information:{ID:abc123}{MD:i7}{NAME:abc123.png}{TH:0}}-->", "text/html");
    });
    server.start();
    SetServiceHost(server.host());
  }
  bool Logged(const std::string& body) const {
    const auto lines = p.logBodies();
    return std::find(lines.begin(), lines.end(), body) != lines.end();
  }
  // Should a worker hang on a special file, frees it so the test can end: wakes a
  // reader blocked on the FIFO and stops any request in flight.
  void Release(const std::string& fifo) {
    p.ctx.http.abort->abort();
    while (!p.ctx.uploadWorkers.idle()) {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      p.ui.runUntil([] { return false; }, std::chrono::milliseconds(20));
    }
  }

  test::TestServer server;
  std::atomic<int> uploads{0};
};

TEST_F(SpecialFilesTest, AFifoAndALinkToADeviceAreSkippedWithoutBlocking) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
  };
  const Case cases[] = {
      {"x.jpg", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
      {"z.jpg", [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); }},
  };
  const std::string fifo = p.dir.file("x.jpg");
  for (const Case& c : cases) {
    c.make(p.dir.file(c.name));
    Queue(p.dir.file(c.name));
  }
  Queue(MakeFile("a.png"));
  CVU_UploadBtnClick(p.ctx);
  const bool ended =
      p.ui.runUntil([this] { return !p.ctx.upload.Uploading && p.ctx.uploadWorkers.idle(); }, std::chrono::seconds(10));
  if (!ended) Release(fifo);
  ASSERT_TRUE(ended) << "the run did not end within 10 s";
  for (const Case& c : cases) {
    EXPECT_TRUE(Logged("Не удалось прочитать файл \"" + std::string(c.name) + "\"")) << c.name;
    EXPECT_TRUE(Logged("Изображение \"" + std::string(c.name) + "\"  не загружено")) << c.name;
  }
  EXPECT_EQ(uploads.load(), 1);  // only the regular file
  EXPECT_EQ(p.ctx.history.RunHistory.count(), 1);
  EXPECT_EQ(p.logBodies().back(), "Изображения загружены");
}

}  // namespace
}  // namespace cvu
