// An answer whose headers arrived but whose body was cut off fails with the network
// error, and its Location stays readable from the client and from the failure.
#include <gtest/gtest.h>

#include "http/http_client.h"
#include "support/test_server.h"

namespace cvu {
namespace {

TEST(HttpClient, TheLocationOfAnAnswerCutOffInItsBodyStaysReadable) {
  struct Case {
    const char* answer;
    const char* location;
  };
  const Case cases[] = {
      // Headers complete, then the connection closes 990 bytes short.
      {"HTTP/1.1 302 Found\r\nLocation: i-abc123\r\nContent-Length: 1000\r\n\r\n<html>cut", "i-abc123"},
      {"HTTP/1.1 500 Internal Server Error\r\nLocation: i-err\r\nContent-Length: 50\r\n\r\npart", "i-err"},
      // A chunked body that never ends.
      {"HTTP/1.1 302 Found\r\nLocation: i-chunk\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", "i-chunk"},
      // Cut inside the headers: no answer came, so no Location either.
      {"HTTP/1.1 302 Found\r\nLocation: i-half", ""},
  };
  for (const Case& c : cases) {
    test::RawListener listener(c.answer);
    HttpClient client;
    MultipartForm form;
    form.addText("quality", "80");
    std::string failure = "no failure";
    std::string failureLocation;
    try {
      client.post(listener.url("//upload.html"), form);
    } catch (const HttpError& e) {
      failure = e.what();
      failureLocation = e.location();
    }
    EXPECT_NE(failure, "no failure") << c.answer;
    EXPECT_EQ(client.location(), c.location) << c.answer;
    EXPECT_EQ(failureLocation, c.location) << c.answer;
  }
}

}  // namespace
}  // namespace cvu
