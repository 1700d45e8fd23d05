#include "cli/cli_upload_options.h"

#include "upload/upload_options.h"

namespace cvu::cli {
namespace {

void SelectFilter(ValueComboBox& list, const std::string& value) {
  for (int i = 0; i < list.itemCount(); ++i) {
    if (list.itemValue(i) == value) list.setItemIndex(i);
  }
}

}  // namespace

void ApplyUploadOptions(const CliOptions& o, UpOptionsControls& w) {
  ResetUploadOptions(w);
  if (o.quality) w.CVU_Ef_Quality().setValue(*o.quality);
  if (o.filter) SelectFilter(w.CVU_Ef_Filter(), *o.filter);
  w.CVU_Ef_ThText().setText(o.thumbtext);
  w.CVU_Ef_Title().setText(o.title);
  if (o.album) {
    // One entry carrying the album's id, as the album list fills it after a login.
    w.CVU_Ef_Album().setEntries({{*o.album, *o.album}});
    w.CVU_Ef_Album().setItemIndex(0);
  }
  w.CVU_Ef_Published().setChecked(o.publish);
  w.CVU_Ef_EffOff().setChecked(SendsNoConversion(o));
  CVU_Ef_EffOffClick(w);
}

}  // namespace cvu::cli
