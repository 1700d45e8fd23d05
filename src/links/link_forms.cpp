#include "links/link_forms.h"

#include "common/identity.h"

namespace cvu {
namespace {

// Image files live on the image server named by folder_id, under the service's host.
std::string ImageServerFile(const HistoryRecord& r, const std::string& file) {
  return "http://" + r.folder_id + "." + ServiceHost() + "/" + file;
}

}  // namespace

std::string PageLink(const HistoryRecord& r) { return "http://" + ServiceHost() + "/i-" + r.image_id; }

std::string FullViewLink(const HistoryRecord& r) { return "http://" + ServiceHost() + "/f-" + r.image_id; }

std::string DirectLink(const HistoryRecord& r) { return ImageServerFile(r, r.image_name); }

std::string ThumbnailLink(const HistoryRecord& r) {
  // Only the exact text "0" means "no thumbnail"; anything else is a file name.
  return r.image_th == "0" ? DirectLink(r) : ImageServerFile(r, r.image_th);
}

std::string HtmlCode(const HistoryRecord& r) {
  return "<a href=\"" + FullViewLink(r) + "\" target=\"_blank\"><img src=\"" + ThumbnailLink(r) + "\" /></a>";
}

std::string BbCode(const HistoryRecord& r) {
  return "[url=" + FullViewLink(r) + "][img]" + ThumbnailLink(r) + "[/img][/url]";
}

}  // namespace cvu
