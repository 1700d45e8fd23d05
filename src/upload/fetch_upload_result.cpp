#include "upload/fetch_upload_result.h"

#include <re2/re2.h>

#include "common/identity.h"
#include "http/http_client.h"
#include "http/session.h"
#include "store/history_store.h"

namespace cvu {
namespace {

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
std::string FetchPage(StoreContext& ctx, const std::string& location, const AccountValues* given) {
  try {
    // The UI thread may change the account at any time (login, reset): copy it there.
    AccountValues account;
    if (given) {
      account = *given;
    } else {
      ctx.ui.invoke([&] { account = ctx.account; });
    }
    HttpClient client(ctx.http);
    MakeSession(client, false, account);
    return client.getText("http://" + ServiceHost() + "/" + location);
  } catch (const HttpError& e) {
    ctx.AddLogLine("%", e.what());  // the text as it is, "%" signs included
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

void FetchUploadResult(StoreContext& ctx, const std::string& path, int groupNumber, const std::string& location,
                       const AccountValues* account) {
  const std::string page = FetchPage(ctx, location, account);
  const auto ids = FindUploadResult(page);
  if (!ids) {
    ctx.AddLogLine("[Error 061] Ошибка обработки данных", "");
    return;
  }
  ctx.AddLogLine("Ссылки получены", "");
  // The record must exist before the worker goes on (the group text at the group's end
  // reads it). Posted, not awaited: the worker's next step is a hand-over that waits on
  // the same queue, so it cannot go on before the record is made.
  ctx.ui.post([&ctx, path, groupNumber, ids = *ids] {
    AddHistoryRecord(ctx, path, groupNumber, ids.imageId, ids.folderId, ids.imageName, ids.thumbName);
  });
}

}  // namespace cvu
