// libFuzzer target for the search of the result page's identifier comment: any page
// either holds no comment or yields four non-empty values that the page spells out
// as one whole comment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "upload/fetch_upload_result.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string page(reinterpret_cast<const char*>(data), size);
  const auto ids = cvu::FindUploadResult(page);
  if (!ids) return 0;
  if (ids->imageId.empty() || ids->folderId.empty() || ids->imageName.empty() || ids->thumbName.empty()) std::abort();
  const std::string comment = "<!--{Information:{ID:" + ids->imageId + "}{MD:" + ids->folderId +
                              "}{NAME:" + ids->imageName + "}{TH:" + ids->thumbName + "}}-->";
  if (page.find(comment) == std::string::npos) std::abort();
  return 0;
}
