#include "account/version_check.h"

#include <algorithm>
#include <vector>

#include "common/identity.h"
#include "http/http_client.h"
#include "http/session.h"

namespace cvu {
namespace {

// A version text is a few characters; a longer body is no version, however many
// digits it holds (a megabyte of them would be announced and shown in full).
constexpr std::size_t kMaxVersionLength = 32;
// Nor is more of the version file read than a small page's worth.
constexpr std::size_t kVersionFileLimit = std::size_t{64} << 10;

// The parts of a dotted version without their leading zeros; empty when the text is
// not one (an empty part, or any character but digits and dots).
std::vector<std::string> VersionParts(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '.') {
      if (parts.back().empty()) return {};
      parts.emplace_back();
    } else if (c >= '0' && c <= '9') {
      parts.back() += c;
    } else {
      return {};
    }
  }
  if (parts.back().empty()) return {};
  for (auto& part : parts) {
    const auto first = part.find_first_not_of('0');
    part = first == std::string::npos ? "0" : part.substr(first);
  }
  return parts;
}

// Compares two numbers written without leading zeros.
int CompareNumbers(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

void CheckOnce(StoreContext& ctx, const AccountValues& account) {
  try {
    HttpClient client(ctx.http);
    client.setAnswerLimit(kVersionFileLimit);
    MakeSession(client, false, account);
    const std::string body = client.getText("http://" + ServiceHost() + "//cvuversion.txt");
    if (!IsNewerVersion(body, VersionText)) return;
    const std::string message = "Доступна новая версия " + body;
    ctx.ui.post([&ctx, message] {
      ctx.main.CVU_InfoStatus().setText(message);
      ctx.AddLogLine("%", message);
      ctx.dialogs.showMessage(message);
    });
  } catch (const std::exception&) {
    // No network, an error status or a redirect: the check simply ends.
  }
}

}  // namespace

bool IsNewerVersion(const std::string& body, const std::string& own) {
  if (body.size() > kMaxVersionLength) return false;
  const auto theirs = VersionParts(body);
  const auto ours = VersionParts(own);
  if (theirs.empty() || ours.empty()) return false;
  for (std::size_t i = 0; i < std::max(theirs.size(), ours.size()); ++i) {
    const std::string a = i < theirs.size() ? theirs[i] : "0";
    const std::string b = i < ours.size() ? ours[i] : "0";
    if (const int c = CompareNumbers(a, b); c != 0) return c > 0;
  }
  return false;
}

void StartVersionCheck(StoreContext& ctx) {
  const AccountValues account = ctx.account;  // copied on the UI thread, where logins change it
  ctx.versionChecks.start([&ctx, account] { CheckOnce(ctx, account); });
}

}  // namespace cvu
