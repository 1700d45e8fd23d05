// The service's redirect arrives with its Location, then the connection drops inside
// the body: the file was accepted, so it counts as uploaded.
#include "support/test_server.h"
#include "upload/upload_fixture.h"

namespace cvu {
namespace {

class CutAnswerUploadTest : public test::UploadFixture {
 protected:
  bool Logged(const std::string& body) const {
    const auto lines = p.logBodies();
    return std::find(lines.begin(), lines.end(), body) != lines.end();
  }
};

TEST_F(CutAnswerUploadTest, ARedirectCutOffInItsBodyStillCountsAsUploaded) {
  test::RawListener service("HTTP/1.1 302 Found\r\nLocation: i-abc123\r\nContent-Length: 1000\r\n\r\n<html>cut");
  SetServiceHost("127.0.0.1:" + std::to_string(service.port()));
  // The listener takes one connection; the result page's request then stalls.
  p.ctx.http.stallTimeout = std::chrono::milliseconds(500);
  Queue(MakeFile("a.png"));
  ASSERT_TRUE(RunUpload());
  ASSERT_NE(service.received().find("POST //upload.html HTTP/1.1\r\n"), std::string::npos);
  // The cut is a network failure: its text is logged, then the Location decides.
  const auto lines = LogFrom("Загружаю изображение");
  ASSERT_GE(lines.size(), 4u);
  EXPECT_NE(lines[1].find("transfer closed"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "Изображение \"a.png\"  загружено");
  EXPECT_EQ(lines[3], "Ожидание ссылок...");
  EXPECT_FALSE(Logged("Изображение \"a.png\"  не загружено"));
  // Both steps of the file were made before the group end emptied the bar.
  const auto& full = p.main.pbarFull.positions;
  EXPECT_NE(std::find(full.begin(), full.end(), 2), full.end());
}

}  // namespace
}  // namespace cvu
