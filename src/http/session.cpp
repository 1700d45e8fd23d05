#include "http/session.h"

namespace cvu {

std::string SessionCookieLine(bool anonymous, const AccountValues& account) {
  const std::string id = anonymous ? "0" : account.user_id;
  const std::string hash = anonymous ? "0" : account.user_hash;
  return "Cookie: corvane_user_id=" + id + "; corvane_lng=en; corvane_hash=" + hash + "; path=/;";
}

HttpClient& MakeSession(HttpClient& client, bool anonymous, const AccountValues& account) {
  client.setUserAgent(kUserAgent);
  client.setExtraHeaders({SessionCookieLine(anonymous, account)});
  return client;
}

}  // namespace cvu
