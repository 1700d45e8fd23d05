#pragma once
// What happens to each file of an upload run, told to whoever follows it: the window's
// notification at a group's end, the command line's display and output. The run keeps
// writing its controls and log lines as well; these calls come on the UI thread, in
// order with them.
#include <cstdint>
#include <string>

namespace cvu {

// Why a file was not uploaded.
enum class NotUploadedReason {
  Missing,     // no such file (or a folder)
  Unreadable,  // not a regular file that can be opened
  Refused,     // the request failed or the answer named no result page
};

class UploadEvents {
 public:
  virtual ~UploadEvents() = default;
  // file: the position of the file in the run, from 0, in the order the run took them.
  virtual void started(int /*file*/, const std::string& /*path*/) {}
  virtual void bytesSent(int /*file*/, std::int64_t /*sent*/, std::int64_t /*total*/) {}
  // The service took the file; its result page is fetched next.
  virtual void uploaded(int /*file*/) {}
  // The result page named the image (linksFetched) or did not (linksNotFound: nothing
  // is recorded).
  virtual void linksFetched(int /*file*/) {}
  virtual void linksNotFound(int /*file*/) {}
  // The image is in the run's history at runIndex; stored: its row was written.
  virtual void recorded(int /*file*/, int /*runIndex*/, bool /*stored*/) {}
  virtual void notUploaded(int /*file*/, const std::string& /*path*/, NotUploadedReason) {}
  // The group is over: files taken and how many of them were uploaded.
  virtual void groupEnded(int /*files*/, int /*uploaded*/) {}
};

}  // namespace cvu
