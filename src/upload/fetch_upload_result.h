#pragma once
// After an accepted upload: the result page the answer's Location names, and the
// image's identifiers in its comment.
#include <functional>
#include <optional>
#include <string>

#include "common/account.h"
#include "common/http_settings.h"

namespace cvu {

// The four values of the result comment.
struct UploadResultIds {
  std::string imageId;
  std::string folderId;
  std::string imageName;
  std::string thumbName;  // "0" when the service made no thumbnail
};

// Searches the whole page for the result comment (greedy, line breaks included).
std::optional<UploadResultIds> FindUploadResult(const std::string& page);

// An activity log line: message with every "%" replaced by argument.
using LogLineFn = std::function<void(const std::string& message, const std::string& argument)>;

// Worker thread. GETs "http://" + ServiceHost + "/" + location with the account's
// session and reads the identifiers. Logs a failure's text as it is, then
// "[Error 061] Ошибка обработки данных" when the page names no image, else
// "Ссылки получены".
std::optional<UploadResultIds> FetchResultIds(const std::string& location, const AccountValues& account,
                                              const HttpSettings& http, const LogLineFn& log);

}  // namespace cvu
