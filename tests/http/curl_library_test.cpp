// libcurl is loaded by the first use of the HTTP layer, not when the program starts.
#include "http/curl_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "http/http_client.h"
#include "support/test_server.h"

namespace cvu {
namespace {

bool CurlLoaded() { return ::dlopen("libcurl.so.4", RTLD_LAZY | RTLD_NOLOAD) != nullptr; }

// In a fresh process of this test program (earlier tests here have loaded it already).
TEST(CurlLibraryDeathTest, TheFirstRequestLoadsLibcurlAndNothingBefore) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const bool atStart = CurlLoaded();
        test::RawListener listener("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
        HttpClient client;
        const bool answered = client.getText(listener.url("/")) == "ok";
        std::exit(!atStart && answered && CurlLoaded() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace cvu
