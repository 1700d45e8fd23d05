#pragma once
// One file's requests, as every upload run makes them: the file posted on a client of
// its own with the upload options, then, once the service took it, its result page
// fetched and the image's identifiers read. No window and no history: the caller is
// told each step on the uploading thread, and records the image itself.
#include <functional>
#include <string>

#include "common/account.h"
#include "common/http_settings.h"
#include "http/transfer_events.h"
#include "upload/fetch_upload_result.h"
#include "upload/upload_options.h"

namespace cvu {

struct FileUploadRequest {
  std::string path;
  UploadOptionValues options;
  AccountValues account;   // its cookies go with the result page's request
  bool anonymous = false;  // the upload itself goes without the account's cookies
};

// What a file's upload tells its caller, on the uploading thread, in this order.
class FileUploadSteps {
 public:
  virtual ~FileUploadSteps() = default;
  // An activity log line: message with every "%" replaced by argument.
  virtual void log(const std::string& message, const std::string& argument) = 0;
  // The file is about to be posted.
  virtual void sending() {}
  virtual TransferEvents transferEvents() { return {}; }
  // The service took the file; its result page is fetched next.
  virtual void uploaded() {}
};

enum class FileUploadOutcome {
  Unreadable,    // not a regular file that can be opened: nothing was sent
  NotUploaded,   // the request failed, or its answer named no result page
  NoLinks,       // uploaded, but the result page did not name the image
  LinksFetched,  // uploaded and named: ids hold the image's identifiers
};

struct FileUploadResult {
  FileUploadOutcome outcome = FileUploadOutcome::NotUploaded;
  UploadResultIds ids;
};

FileUploadResult UploadOneFile(const FileUploadRequest& request, const HttpSettings& http, FileUploadSteps& steps);

// True when the path names an existing entry that is not a folder. Nothing is opened.
bool IsExistingFile(const std::string& path);

// The log line for a file that is not there (or whose name could not be read).
void LogMissingFile(const std::string& path, FileUploadSteps& steps);

}  // namespace cvu
