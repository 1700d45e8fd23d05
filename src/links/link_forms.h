#pragma once
// The texts made from one history record. All pure functions of the record and the
// service's host.
#include <string>

#include "store/history.h"

namespace cvu {

std::string PageLink(const HistoryRecord& r);       // "http://" + host + "/i-" + image_id
std::string FullViewLink(const HistoryRecord& r);   // "http://" + host + "/f-" + image_id
std::string DirectLink(const HistoryRecord& r);     // "http://" + folder_id + "." + host + "/" + image_name
std::string ThumbnailLink(const HistoryRecord& r);  // the thumbnail, or the direct link when image_th is "0"
std::string HtmlCode(const HistoryRecord& r);
std::string BbCode(const HistoryRecord& r);

}  // namespace cvu
