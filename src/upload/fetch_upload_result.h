#pragma once
// After an accepted upload: fetching the result page the answer's Location names and
// recording the image from the identifier comment in it.
#include <optional>
#include <string>

#include "store/store_context.h"

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

// Worker thread. GETs "http://" + ServiceHost + "/" + location with the logged-in
// session, then queues the image's record (AddHistoryRecord) to the UI thread: the
// record is made before anything the caller hands over afterwards runs there. Failures
// are written to the activity log only.
// account: the account values to send, when the caller has already copied them on the
// UI thread; otherwise they are copied there.
void FetchUploadResult(StoreContext& ctx, const std::string& path, int groupNumber, const std::string& location,
                       const AccountValues* account = nullptr);

}  // namespace cvu
