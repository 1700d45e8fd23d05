// Entries of the upload list that exist but are no regular files (a FIFO, a link to a
// device) are skipped like unreadable files, and never hold the worker up; nor does a
// file replaced by one after it was checked.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/regular_file.h"
#include "http/http_client.h"
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

// The worker checks the file, makes the form and posts it; a path replaced by a FIFO
// in between neither blocks the post nor changes what it sends.
TEST(CheckedFilePart, APathSwappedForAFifoAfterTheFormWasMadeStillSendsTheFileChecked) {
  test::TempDir dir;
  const std::string path = dir.file("a.png");
  const std::string bytes = std::string("\x89PNG\r\n\x1a\n\0", 9) + std::string(100000, 'a');
  std::ofstream(path, std::ios::binary) << bytes;
  test::TestServer server;
  server.post(".*", [](const RecordedRequest&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Location", "i-abc123");
  });
  server.start();
  const auto file = RegularFile::Open(path);
  ASSERT_TRUE(file);
  MultipartForm form;
  form.addFile("imgfile[]", *file, "image/png");
  const std::string fifo = dir.file("swap");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(std::rename(fifo.c_str(), path.c_str()), 0);

  std::atomic<bool> done{false};
  HttpClient client;
  std::thread post([&] {
    try {
      client.post(server.url("//upload.html"), form);
    } catch (const HttpError&) {
    }
    done = true;
  });
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const bool blocked = !done;
  while (!done) {  // frees a post blocked in opening the FIFO, so the test can end
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  post.join();
  ASSERT_FALSE(blocked) << "the post waited on the FIFO for 10 s";
  EXPECT_EQ(client.location(), "i-abc123");
  const auto parts = server.last().parts;
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].filename, "a.png");
  EXPECT_EQ(parts[0].contentType, "image/png");
  EXPECT_TRUE(parts[0].content == bytes);
}

}  // namespace
}  // namespace cvu
