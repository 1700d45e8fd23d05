#include <gtest/gtest.h>

#include <fstream>

#include "http/http_client.h"
#include "http/session.h"
#include "support/test_server.h"
#include "support/test_support.h"

namespace cvu {
namespace {

using test::RecordedRequest;

// The failure's text and Location, or "no failure".
struct Outcome {
  std::string text = "no failure";
  std::string location;
};

template <typename Request>
Outcome OutcomeOf(Request request) {
  try {
    request();
    return {};
  } catch (const HttpError& e) {
    return {e.what(), e.location()};
  }
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(HttpClient, AnswersFailOrSucceedByTheRequestConventions) {
  struct Case {
    int status;
    const char* location;  // "" for none
    const char* failure;
  };
  const Case cases[] = {
      {302, "i-abc", "HTTP/1.1 302 Found"},
      {301, "/moved", "HTTP/1.1 301 Moved Permanently"},
      {303, "", "HTTP/1.1 303 See Other"},
      {307, "x", "HTTP/1.1 307 Temporary Redirect"},
      {200, "i-abc", "HTTP/1.1 200 OK"},
      {201, "i-abc", "no failure"},
      {200, "", "no failure"},
      {304, "", "no failure"},
      {404, "", "HTTP/1.1 404 Not Found"},
      {500, "", "HTTP/1.1 500 Internal Server Error"},
      {500, "i-err", "HTTP/1.1 500 Internal Server Error"},
      {403, "", "HTTP/1.1 403 Forbidden"},
  };
  test::TestServer server;
  server.get(R"(/status/(\d+))", [](const RecordedRequest& r, httplib::Response& res) {
    res.status = std::stoi(r.target.substr(8, 3));
    const auto q = r.target.find("?loc=");
    if (q != std::string::npos) res.set_header("Location", r.target.substr(q + 5));
  });
  server.start();
  for (const auto& c : cases) {
    HttpClient client;
    std::string target = "/status/" + std::to_string(c.status);
    if (*c.location) target += std::string("?loc=") + c.location;
    const Outcome outcome = OutcomeOf([&] { client.getText(server.url(target)); });
    EXPECT_EQ(outcome.text, c.failure) << c.status << " " << c.location;
    EXPECT_EQ(outcome.location, outcome.text == "no failure" ? "" : c.location) << c.status;
    // The Location stays readable from the client after the request, failed or not.
    EXPECT_EQ(client.location(), c.location) << c.status;
  }
}

TEST(HttpClient, StatusLinesAreKeptExactlyAsReceived) {
  const char* lines[] = {"HTTP/1.1 302 Moved Temporarily", "HTTP/1.0 302 Found", "HTTP/1.1 502 Bad  gateway here"};
  for (const char* line : lines) {
    test::RawListener listener(std::string(line) +
                               "\r\nLocation: i-raw\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    HttpClient client;
    const Outcome outcome = OutcomeOf([&] { client.getText(listener.url("/")); });
    EXPECT_EQ(outcome.text, line);
    EXPECT_EQ(client.location(), "i-raw");
  }
}

TEST(HttpClient, ARefusedConnectionCarriesTheNetworkErrorAndNoLocation) {
  int port = 0;
  {
    test::RawListener closed("");  // a port that was free a moment ago
    port = closed.port();
    HttpClient wake;
    OutcomeOf([&] { wake.getText(closed.url("/")); });
  }
  HttpClient client;
  const Outcome outcome = OutcomeOf([&] { client.getText("http://127.0.0.1:" + std::to_string(port) + "/"); });
  EXPECT_NE(outcome.text, "no failure");
  EXPECT_NE(outcome.text.find("127.0.0.1"), std::string::npos) << outcome.text;
  EXPECT_EQ(client.location(), "");
  EXPECT_EQ(client.statusLine(), "");
}

TEST(HttpClient, RequestLinesKeepTheSlashesOfTheUrl) {
  test::TestServer server;
  server.post(".*", [](const RecordedRequest&, httplib::Response& res) { res.set_content("", "text/plain"); });
  server.get(".*", [](const RecordedRequest&, httplib::Response& res) { res.set_content("", "text/plain"); });
  server.start();
  HttpClient upload;
  MultipartForm form;
  form.addText("quality", "80");
  upload.post("http://" + server.host() + "//upload.html", form);
  EXPECT_EQ(server.last().requestLine, "POST //upload.html HTTP/1.1");
  HttpClient result;
  result.getText("http://" + server.host() + "/" + "i-abc");
  EXPECT_EQ(server.last().requestLine, "GET /i-abc HTTP/1.1");
  HttpClient albums;
  albums.getBytes("http://" + server.host() + "//ajax.php?action=get.Albums");
  EXPECT_EQ(server.last().requestLine, "GET //ajax.php?action=get.Albums HTTP/1.1");
}

TEST(HttpClient, MultipartBodyHasTheExactWireForm) {
  test::TempDir dir;
  const std::string image = std::string("\x89PNG\r\n\x1a\n\0\xff", 10) + std::string(300, 'z');
  WriteFile(dir.file("photo.jpg"), image);
  test::RawListener listener("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
  MultipartForm form;
  form.addText("thumbtext", "Привет мир");
  form.addText("title", "");
  form.addFile("imgfile[]", dir.file("photo.jpg"), "image/png");
  HttpClient client;
  EXPECT_EQ(client.post(listener.url("//upload.html"), form), "ok");

  const std::string request = listener.received();
  const auto headEnd = request.find("\r\n\r\n");
  ASSERT_NE(headEnd, std::string::npos);
  const std::string head = request.substr(0, headEnd + 2);
  const std::string marker = "Content-Type: multipart/form-data; boundary=";
  const auto at = head.find(marker);
  ASSERT_NE(at, std::string::npos) << head;
  const std::string boundary = head.substr(at + marker.size(), head.find("\r\n", at) - at - marker.size());
  const std::string expected =
      "--" + boundary + "\r\n" + "Content-Disposition: form-data; name=\"thumbtext\"\r\n\r\nПривет мир\r\n" + "--" +
      boundary + "\r\n" + "Content-Disposition: form-data; name=\"title\"\r\n\r\n\r\n" + "--" + boundary + "\r\n" +
      "Content-Disposition: form-data; name=\"imgfile[]\"; filename=\"photo.jpg\"\r\n" +
      "Content-Type: image/png\r\n\r\n" + image + "\r\n" + "--" + boundary + "--\r\n";
  EXPECT_EQ(request.substr(headEnd + 4), expected);
  EXPECT_EQ(head.find("Expect:"), std::string::npos);
}

TEST(HttpClient, UploadFormPartsArriveInOrderWithTheirBytes) {
  test::TempDir dir;
  std::string image(150000, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7);
  WriteFile(dir.file("big.png"), image);
  test::TestServer server;
  server.post(".*", [](const RecordedRequest&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Location", "i-big");
  });
  server.start();
  MultipartForm form;
  const std::pair<const char*, const char*> fields[] = {{"quality", "80"},  {"filter", "2"},   {"thumbtext", "tt"},
                                                        {"title", "T"},     {"album_id", "0"}, {"nod", "off"},
                                                        {"published", "on"}};
  for (const auto& [name, value] : fields) form.addText(name, value);
  form.addFile("imgfile[]", dir.file("big.png"), "image/png");
  HttpClient client;
  EXPECT_EQ(OutcomeOf([&] { client.post(server.url("//upload.html"), form); }).text, "HTTP/1.1 302 Found");
  EXPECT_EQ(client.location(), "i-big");
  const auto parts = server.last().parts;
  ASSERT_EQ(parts.size(), 8u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(parts[i].name, fields[i].first);
    EXPECT_EQ(parts[i].content, fields[i].second);
    EXPECT_EQ(parts[i].contentType, "");
    EXPECT_EQ(parts[i].filename, "");
  }
  EXPECT_EQ(parts[7].name, "imgfile[]");
  EXPECT_EQ(parts[7].filename, "big.png");
  EXPECT_EQ(parts[7].contentType, "image/png");
  EXPECT_TRUE(parts[7].content == image);
}

TEST(HttpClient, AMissingFileFailsBeforeAnythingIsSent) {
  MultipartForm form;
  form.addFile("imgfile[]", "/nonexistent/folder/x.png", "image/png");
  HttpClient client;
  const Outcome outcome = OutcomeOf([&] { client.post("http://127.0.0.1:9/", form); });
  EXPECT_NE(outcome.text.find("/nonexistent/folder/x.png"), std::string::npos) << outcome.text;
}

TEST(HttpClient, BodiesAsBytesAndAsText) {
  test::TestServer server;
  const std::string bytes("a\0b\xff\xc3", 5);
  server.get("/bytes", [&](const RecordedRequest&, httplib::Response& res) {
    res.set_content(bytes, "application/octet-stream");
  });
  server.get("/cp1251", [](const RecordedRequest&, httplib::Response& res) {
    res.set_content("\xcf\xf0\xe8\xe2\xe5\xf2", "text/html; charset=windows-1251");
  });
  server.get("/utf8", [](const RecordedRequest&, httplib::Response& res) { res.set_content("Привет", "text/html"); });
  server.start();
  HttpClient client;
  EXPECT_TRUE(client.getBytes(server.url("/bytes")) == bytes);
  EXPECT_EQ(client.getText(server.url("/cp1251")), "Привет");
  EXPECT_EQ(client.getText(server.url("/utf8")), "Привет");
  EXPECT_EQ(client.getBytes(server.url("/cp1251")), "\xcf\xf0\xe8\xe2\xe5\xf2");
}

class RedirectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // /hop/N answers with a redirect to /hop/N+1 until N reaches the last hop.
    server.get(R"(/hop/(\d+))", [this](const RecordedRequest& r, httplib::Response& res) {
      const int n = std::stoi(r.target.substr(5));
      res.set_content("hop " + std::to_string(n), "text/plain");
      if (n < lastHop) {
        res.status = 302;
        res.set_header("Location", "/hop/" + std::to_string(n + 1));
      }
    });
    server.start();
  }
  test::TestServer server;
  int lastHop = 1000;
};

TEST_F(RedirectTest, FourteenAreFollowedAndTheFifteenthIsTheAnswer) {
  HttpClient client;
  client.setFollowRedirects(true);
  EXPECT_EQ(client.getText(server.url("/hop/0")), "hop 14");
  EXPECT_EQ(client.statusLine(), "HTTP/1.1 302 Found");
  EXPECT_EQ(client.location(), "/hop/15");
  EXPECT_EQ(server.requests().size(), 15u);
}

TEST_F(RedirectTest, AChainThatEndsInTimeGivesItsLastPage) {
  lastHop = 14;
  HttpClient client;
  client.setFollowRedirects(true);
  EXPECT_EQ(client.getText(server.url("/hop/0")), "hop 14");
  EXPECT_EQ(client.statusLine(), "HTTP/1.1 200 OK");
  EXPECT_EQ(client.location(), "");
}

TEST_F(RedirectTest, WithoutFollowingTheFirstRedirectFails) {
  HttpClient client;
  EXPECT_EQ(OutcomeOf([&] { client.getText(server.url("/hop/0")); }).text, "HTTP/1.1 302 Found");
  EXPECT_EQ(client.location(), "/hop/1");
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST(HttpClient, CookiesKeepTheirPositionsAcrossRedirectsAndGoBackAsOneLine) {
  test::TestServer server;
  server.post("/", [](const RecordedRequest&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Set-Cookie", "corvane_lng=en; path=/");
    res.set_header("Set-Cookie", "corvane_user_id=0; path=/");
    res.set_header("Location", "/step");
  });
  server.get("/step", [](const RecordedRequest&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Set-Cookie", "corvane_hash=abc; path=/");
    res.set_header("Set-Cookie", "corvane_user_id=42; path=/");
    res.set_header("Location", "done");
  });
  server.get("/done", [](const RecordedRequest&, httplib::Response& res) { res.set_content("welcome", "text/html"); });
  server.start();
  HttpClient client;
  client.setFollowRedirects(true);
  client.setExtraHeaders({"Cookie: corvane_lng=en; path=/;"});
  MultipartForm form;
  form.addText("inlogin", "true");
  EXPECT_EQ(client.post(server.url("/"), form), "welcome");
  ASSERT_EQ(client.cookies().size(), 3u);
  EXPECT_EQ(client.cookies().at(0).name, "corvane_lng");
  EXPECT_EQ(client.cookies().at(1).name, "corvane_user_id");
  EXPECT_EQ(client.cookies().at(1).value, "42");
  EXPECT_EQ(client.cookies().at(2).name, "corvane_hash");
  EXPECT_EQ(client.cookies().at(2).value, "abc");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].header("Cookie"), "corvane_lng=en; path=/;");
  // The redirected POST continues as a GET that carries the cookies set on the way.
  EXPECT_EQ(requests[1].requestLine, "GET /step HTTP/1.1");
  EXPECT_EQ(requests[1].headerCount("Cookie"), 1u);
  EXPECT_EQ(requests[1].header("Cookie"), "corvane_lng=en; path=/; corvane_user_id=0");
  EXPECT_EQ(requests[2].requestLine, "GET /done HTTP/1.1");
  EXPECT_EQ(requests[2].header("Cookie"), "corvane_lng=en; path=/; corvane_user_id=42; corvane_hash=abc");
}

TEST(HttpClient, TransferEventsCoverTheBodySentAndTheAnswer) {
  test::TempDir dir;
  WriteFile(dir.file("p.png"), std::string(200000, 'p'));
  test::TestServer server;
  server.post(".*", [](const RecordedRequest&, httplib::Response& res) {
    res.set_content(std::string(70000, 'r'), "text/plain");
  });
  server.start();
  struct Event {
    char kind;
    TransferDirection direction;
    std::int64_t value;
  };
  std::vector<Event> events;
  HttpClient client;
  client.setTransferEvents({[&](TransferDirection d, std::int64_t n) {
                              events.push_back({'b', d, n});
                            },
                            [&](TransferDirection d, std::int64_t n) {
                              events.push_back({'p', d, n});
                            },
                            [&](TransferDirection d) {
                              events.push_back({'e', d, 0});
                            }});
  MultipartForm form;
  form.addFile("imgfile[]", dir.file("p.png"), "image/png");
  client.post(server.url("/"), form);

  ASSERT_GE(events.size(), 6u);
  EXPECT_EQ(events.front().kind, 'b');
  EXPECT_EQ(events.front().direction, TransferDirection::Send);
  const std::int64_t sendSize = events.front().value;
  EXPECT_GT(sendSize, 200000);
  std::int64_t lastSend = 0, lastReceive = 0;
  std::string kinds;
  for (const auto& e : events) {
    kinds += std::string(1, e.kind) + (e.direction == TransferDirection::Send ? "S" : "R");
    if (e.kind != 'p') continue;
    std::int64_t& last = e.direction == TransferDirection::Send ? lastSend : lastReceive;
    EXPECT_GT(e.value, last);
    last = e.value;
  }
  EXPECT_EQ(lastSend, sendSize);
  EXPECT_EQ(lastReceive, 70000);
  // Begin and end bracket each direction, the request body first.
  EXPECT_EQ(kinds.substr(0, 2), "bS");
  EXPECT_NE(kinds.find("eSbR"), std::string::npos) << kinds;
  EXPECT_EQ(kinds.substr(kinds.size() - 2), "eR");
  const auto receiveBegin = std::find_if(events.begin(), events.end(), [](const Event& e) {
    return e.kind == 'b' && e.direction == TransferDirection::Receive;
  });
  EXPECT_EQ(receiveBegin->value, 70000);
}

}  // namespace
}  // namespace cvu
