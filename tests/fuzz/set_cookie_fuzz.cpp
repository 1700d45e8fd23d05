// libFuzzer target for the Set-Cookie parser and the cookie store: every input line is
// one Set-Cookie value taken in order. Whatever the server sends, no stored cookie may
// carry a control character, no two may share domain and name, and the Cookie value
// sent back must stay one header line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "http/cookie_store.h"

namespace {

const cvu::UrlParts kRequest{"www.localhost", "/dir/page"};
constexpr std::time_t kNow = 1'800'000'000;

bool HasControl(const std::string& text) {
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7f) return true;
  }
  return false;
}

void Check(bool holds) {
  if (!holds) std::abort();
}

void CheckStore(const cvu::CookieStore& store) {
  const auto& items = store.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    Check(!items[i].name.empty() && !HasControl(items[i].name) && !HasControl(items[i].value));
    Check(items[i].domain.empty() || items[i].domain.front() != '.');
    for (std::size_t j = i + 1; j < items.size(); ++j) {
      Check(items[i].domain != items[j].domain || items[i].name != items[j].name);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  cvu::CookieStore store;
  for (std::size_t start = 0; start <= input.size();) {
    const auto end = std::min(input.find('\n', start), input.size());
    const std::string header(input.substr(start, end - start));
    if (const auto cookie = cvu::ParseSetCookie(header, kRequest, kNow)) {
      Check(!cookie->name.empty() && !HasControl(cookie->name) && !HasControl(cookie->value));
    }
    store.take(header, kRequest, kNow);
    start = end + 1;
  }
  CheckStore(store);
  for (const cvu::UrlParts& url :
       {kRequest, cvu::UrlParts{"localhost", "/"}, cvu::UrlParts{"a.www.localhost", "/dir"}}) {
    for (const std::time_t when : {kNow, kNow + 86'400 * 400}) Check(!HasControl(store.headerValueFor(url, when)));
  }
  return 0;
}
