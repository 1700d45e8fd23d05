#include "upload/file_upload.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/identity.h"
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

MultipartForm UploadForm(const UploadOptionValues& o, const std::string& path) {
  MultipartForm form;
  form.addText("quality", o.quality);
  form.addText("filter", o.filter);
  form.addText("thumbtext", o.thumbtext);
  form.addText("title", o.title);
  form.addText("album_id", o.album_id);
  form.addText("nod", o.nod);
  form.addText("published", o.published);
  form.addFile("imgfile[]", path, "image/png");
  return form;
}

// Only a regular file that can be opened is sent. The path is opened without
// blocking (a FIFO would wait for a writer for ever) and its kind is then checked on
// the open file, so a link to a device (/dev/zero streams without end) is refused too.
bool IsReadableRegularFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

// Posts the file; returns the answer's Location (empty: not uploaded).
std::string PostFile(const FileUploadRequest& request, const HttpSettings& http, FileUploadSteps& steps) {
  HttpClient client(http);
  client.setTransferEvents(steps.transferEvents());
  MakeSession(client, request.anonymous, request.account);
  try {
    client.post("http://" + ServiceHost() + "//upload.html", UploadForm(request.options, request.path));
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
  if (!IsReadableRegularFile(path)) {
    steps.log("%", "Не удалось прочитать файл \"" + LastPathComponent(path) + "\"");
    result.outcome = FileUploadOutcome::Unreadable;
  } else {
    location = PostFile(request, http, steps);
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
