#include "upload/fetch_upload_result.h"

#include <re2/re2.h>

#include "common/identity.h"
#include "http/http_client.h"
#include "http/session.h"

namespace cvu {
namespace {

// A result page is a few kilobytes; a longer one is read no further than this.
constexpr std::size_t kResultPageLimit = std::size_t{8} << 20;

constexpr const char* kResultPattern = R"(<!--\{Information:\{ID:(.+)\}\{MD:(.+)\}\{NAME:(.+)\}\{TH:(.+)\}\}-->)";

// Case-sensitive, "." across line breaks, greedy; bytes rather than UTF-8 so any
// page, whatever its encoding, is searched whole.
RE2::Options ResultOptions() {
  RE2::Options options;
  options.set_dot_nl(true);
  options.set_case_sensitive(true);
  options.set_longest_match(false);
  options.set_encoding(RE2::Options::EncodingLatin1);
  options.set_log_errors(false);
  return options;
}

// The page text; a failed GET logs its text and leaves the page empty.
std::string FetchPage(const std::string& location, const AccountValues& account, const HttpSettings& http,
                      const LogLineFn& log) {
  try {
    HttpClient client(http);
    client.setAnswerLimit(kResultPageLimit);
    MakeSession(client, false, account);
    return client.getText("http://" + ServiceHost() + "/" + location);
  } catch (const HttpError& e) {
    log("%", e.what());  // the text as it is, "%" signs included
    return {};
  }
}

}  // namespace

std::optional<UploadResultIds> FindUploadResult(const std::string& page) {
  static const RE2 pattern(kResultPattern, ResultOptions());  // matching is thread-safe
  UploadResultIds ids;
  if (!RE2::PartialMatch(page, pattern, &ids.imageId, &ids.folderId, &ids.imageName, &ids.thumbName)) {
    return std::nullopt;
  }
  return ids;
}

std::optional<UploadResultIds> FetchResultIds(const std::string& location, const AccountValues& account,
                                              const HttpSettings& http, const LogLineFn& log) {
  auto ids = FindUploadResult(FetchPage(location, account, http, log));
  log(ids ? "Ссылки получены" : "[Error 061] Ошибка обработки данных", "");
  return ids;
}

}  // namespace cvu
