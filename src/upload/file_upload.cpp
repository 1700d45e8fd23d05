#include "upload/file_upload.h"

#include <filesystem>
#include <optional>

#include "common/identity.h"
#include "common/regular_file.h"
#include "common/text.h"
#include "http/http_client.h"
#include "http/http_error.h"
#include "http/session.h"

namespace cvu {
namespace {

// U+FFFD, what a name that is not UTF-8 becomes when it passes through text.
constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";

// " \"name\" ": the file name as the log lines quote it.
std::string NameArgument(const std::string& path) { return " \"" + LastPathComponent(path) + "\" "; }

MultipartForm UploadForm(const UploadOptionValues& o, const RegularFile& file) {
  MultipartForm form;
  form.addText("quality", o.quality);
  form.addText("filter", o.filter);
  form.addText("thumbtext", o.thumbtext);
  form.addText("title", o.title);
  form.addText("album_id", o.album_id);
  form.addText("nod", o.nod);
  form.addText("published", o.published);
  form.addFile("imgfile[]", file, "image/png");
  return form;
}

// Posts the file; returns the answer's Location (empty: not uploaded).
std::string PostFile(const FileUploadRequest& request, const RegularFile& file, const HttpSettings& http,
                     FileUploadSteps& steps) {
  HttpClient client(http);
  client.setTransferEvents(steps.transferEvents());
  MakeSession(client, request.anonymous, request.account);
  try {
    client.post("http://" + ServiceHost() + "//upload.html", UploadForm(request.options, file));
  } catch (const HttpError& e) {
    if (!IsUnloggedRedirect(e.what())) steps.log("%", e.what());
  }
  return client.location();
}

}  // namespace

FileUploadResult UploadOneFile(const FileUploadRequest& request, const HttpSettings& http, FileUploadSteps& steps) {
  const std::string& path = request.path;
  steps.sending();
  steps.log("Загружаю изображение%...", NameArgument(path));
  FileUploadResult result;
  std::string location;
  // Only a regular file that can be opened is sent (not a FIFO, nor a link to a device
  // such as /dev/zero, which streams without end), and the very file checked: it stays
  // open until it is sent, so a path changed meanwhile can neither block the post nor
  // change what it sends.
  const std::optional<RegularFile> file = RegularFile::Open(path);
  if (!file) {
    steps.log("%", "Не удалось прочитать файл \"" + LastPathComponent(path) + "\"");
    result.outcome = FileUploadOutcome::Unreadable;
  } else {
    location = PostFile(request, *file, http, steps);
  }
  if (location.empty()) {
    steps.log("Изображение% не загружено", NameArgument(path));
    return result;
  }
  steps.uploaded();
  steps.log("Изображение% загружено", NameArgument(path));
  steps.log("Ожидание ссылок...", "");
  const auto log = [&steps](const std::string& message, const std::string& argument) { steps.log(message, argument); };
  const auto ids = FetchResultIds(location, request.account, http, log);
  result.outcome = ids ? FileUploadOutcome::LinksFetched : FileUploadOutcome::NoLinks;
  if (ids) result.ids = *ids;
  return result;
}

bool IsExistingFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

// The name goes in as the argument, so a "%" in it is kept. A name that came in as text
// with characters the file system name could not be shown in is not called missing.
void LogMissingFile(const std::string& path, FileUploadSteps& steps) {
  if (path.find(kReplacementCharacter) != std::string::npos) {
    steps.log("Не удалось прочитать имя файла \"%\"", LastPathComponent(path));
  } else {
    steps.log("Файл \"%\" не существует", LastPathComponent(path));
  }
}

}  // namespace cvu
