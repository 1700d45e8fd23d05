// Requests no honest client sends: cut-off uploads, bodies over the limits, compressed or
// chunked bodies. Each is refused without storing anything or reading more than it must.
#include <gtest/gtest.h>

#include <filesystem>

#include "raw_connection.h"
#include "service/photo_service.h"
#include "support/test_support.h"

namespace cvu {
namespace {
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kWait = 10s;  // bound on every wait for an answer
const std::string kBoundary = "cvuTestBoundary";

struct FormOptions {
  std::string title = "Holiday";
  std::string file = std::string("\xff\xd8\xff\xe0", 4) + std::string(20000, 'j');
  bool closingDelimiter = true;
};

std::string Part(const std::string& disposition, const std::string& extra, const std::string& body) {
  return "--" + kBoundary + "\r\nContent-Disposition: form-data; " + disposition + "\r\n" + extra + "\r\n" + body +
         "\r\n";
}

// The upload form as the client sends it.
std::string UploadBody(const FormOptions& options = {}) {
  std::string body;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{{"quality", "80"},
                                                                                    {"filter", "2"},
                                                                                    {"thumbtext", ""},
                                                                                    {"title", options.title},
                                                                                    {"album_id", "0"},
                                                                                    {"nod", "off"},
                                                                                    {"published", "on"}}) {
    body += Part("name=\"" + name + "\"", "", value);
  }
  body += Part("name=\"imgfile[]\"; filename=\"holiday.jpg\"", "Content-Type: image/jpeg\r\n", options.file);
  if (options.closingDelimiter) body += "--" + kBoundary + "--\r\n";
  return body;
}

std::string PostHead(const std::string& path, const std::string& length, const std::string& extra = "") {
  return "POST " + path + " HTTP/1.1\r\nHost: localhost\r\nContent-Type: multipart/form-data; boundary=" + kBoundary +
         "\r\n" + (length.empty() ? "" : "Content-Length: " + length + "\r\n") + extra + "\r\n";
}

// A gzip member holding data in one stored (uncompressed) deflate block.
std::string Gzip(const std::string& data) {
  std::uint32_t crc = 0xffffffffu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  const auto le32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  const auto len = static_cast<std::uint16_t>(data.size());
  std::string out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
  out += '\x01';
  out += {static_cast<char>(len), static_cast<char>(len >> 8), static_cast<char>(~len), static_cast<char>(~len >> 8)};
  return out + data + le32(crc) + le32(static_cast<std::uint32_t>(data.size()));
}

class HostileRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GT(port = service.start(0), 0); }

  // Sends a whole request; returns the answer's status line.
  std::string Exchange(const std::string& request) {
    test::RawConnection c(port);
    EXPECT_TRUE(c.send(request));
    return c.readStatusLine(kWait);
  }
  void ExpectNothingStored() const {
    for (const char* folder : {"i1", "meta", "incoming"}) {
      EXPECT_TRUE(fs::is_empty(data.path() / folder)) << folder << " holds files";
    }
  }

  test::TempDir data;
  service::PhotoService service{{data.path(), "5.8"}};
  int port = 0;
};

TEST_F(HostileRequestTest, TheWholeFormIsStoredAsTheReferenceCase) {
  const std::string body = UploadBody();
  EXPECT_EQ(Exchange(PostHead("//upload.html", std::to_string(body.size())) + body), "HTTP/1.1 302 Found");
  EXPECT_FALSE(fs::is_empty(data.path() / "i1"));
}

TEST_F(HostileRequestTest, AnUploadCutOffHalfWayStoresNothing) {
  const std::string body = UploadBody();
  test::RawConnection c(port);
  ASSERT_TRUE(c.send(PostHead("//upload.html", std::to_string(body.size())) + body.substr(0, body.size() / 2)));
  c.stopSending();  // the client is gone
  // The service closes the connection once it has handled what came.
  ASSERT_TRUE(c.closedWithin(kWait));
  ExpectNothingStored();
}

TEST_F(HostileRequestTest, AnUploadWithoutItsClosingDelimiterIsRefused) {
  FormOptions options;
  options.closingDelimiter = false;
  const std::string body = UploadBody(options);
  EXPECT_EQ(Exchange(PostHead("//upload.html", std::to_string(body.size())) + body), "HTTP/1.1 400 Bad Request");
  ExpectNothingStored();
}

TEST_F(HostileRequestTest, ATextFieldOverTheLimitIsRefused) {
  FormOptions options;
  options.title = std::string(100 * 1024, 't');
  const std::string body = UploadBody(options);
  EXPECT_EQ(Exchange(PostHead("//upload.html", std::to_string(body.size())) + body), "HTTP/1.1 413 Payload Too Large");
  ExpectNothingStored();
}

// A body announced over the limit is answered before any of it is sent, and the connection is
// closed rather than read to its end.
TEST_F(HostileRequestTest, ABodyAnnouncedOverTheLimitIsRefusedBeforeItArrives) {
  const std::string huge = std::to_string(3ull << 30);
  const std::string overLogin = std::to_string(service::kMaxTextSize + 1);
  for (const std::string& head : {PostHead("//upload.html", huge), PostHead("/", huge), PostHead("/", overLogin),
                                  "PUT / HTTP/1.1\r\nHost: localhost\r\nContent-Length: " + huge + "\r\n\r\n"}) {
    test::RawConnection c(port);
    ASSERT_TRUE(c.send(head));
    EXPECT_EQ(c.readStatusLine(kWait), "HTTP/1.1 413 Payload Too Large") << head;
    EXPECT_TRUE(c.closedWithin(kWait)) << head;
  }
  ExpectNothingStored();
}

TEST_F(HostileRequestTest, ACompressedBodyIsNotDecoded) {
  const std::string body = Gzip(UploadBody());
  for (const char* encoding : {"gzip", "deflate", "br"}) {
    const std::string extra = std::string("Content-Encoding: ") + encoding + "\r\n";
    EXPECT_EQ(Exchange(PostHead("//upload.html", std::to_string(body.size()), extra) + body),
              "HTTP/1.1 415 Unsupported Media Type")
        << encoding;
  }
  ExpectNothingStored();
}

TEST_F(HostileRequestTest, AChunkedBodyIsRefused) {
  const std::string body = UploadBody();
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", body.size());
  const std::string chunked = size + body + "\r\n0\r\n\r\n";
  EXPECT_EQ(Exchange(PostHead("//upload.html", "", "Transfer-Encoding: chunked\r\n") + chunked),
            "HTTP/1.1 411 Length Required");
  ExpectNothingStored();
}

TEST(UploadFileLimit, AFileOverTheConfiguredSizeIsRefusedAndOneAtItIsStored) {
  test::TempDir data;
  service::PhotoService service{{data.path(), "5.8", 100 * 1024}};
  const int port = service.start(0);
  ASSERT_GT(port, 0);
  const auto post = [&](std::size_t fileSize) {
    FormOptions options;
    options.file.resize(fileSize, 'j');
    const std::string body = UploadBody(options);
    test::RawConnection c(port);
    c.send(PostHead("//upload.html", std::to_string(body.size())) + body);
    return c.readStatusLine(kWait);
  };
  EXPECT_EQ(post(100 * 1024 + 1), "HTTP/1.1 413 Payload Too Large");
  EXPECT_TRUE(fs::is_empty(data.path() / "i1"));
  EXPECT_TRUE(fs::is_empty(data.path() / "incoming"));
  EXPECT_EQ(post(100 * 1024), "HTTP/1.1 302 Found");
  EXPECT_EQ(fs::file_size(fs::directory_iterator(data.path() / "i1")->path()), 100 * 1024u);
}

}  // namespace
}  // namespace cvu
