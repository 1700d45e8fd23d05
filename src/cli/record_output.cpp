#include "cli/record_output.h"

#include "cli/json_text.h"
#include "common/text.h"
#include "links/link_forms.h"
#include "links/templates.h"

namespace cvu::cli {

std::string RecordText(StoreContext& ctx, TextKind kind, int runIndex) {
  const HistoryRecord& r = ctx.history.RunHistory.at(runIndex);
  switch (kind) {
    case TextKind::Page:
      return PageLink(r);
    case TextKind::Full:
      return FullViewLink(r);
    case TextKind::Direct:
      return DirectLink(r);
    case TextKind::Thumb:
      return ThumbnailLink(r);
    case TextKind::Html:
      return HtmlCode(r);
    case TextKind::Bb:
      return BbCode(r);
    default:
      return BuildTemplateText(ctx, runIndex, TemplateNumber(kind), false);
  }
}

std::string RecordJson(StoreContext& ctx, int runIndex, const std::string& file) {
  std::vector<std::pair<std::string, std::string>> members = {{"file", file}};
  for (const TextKind kind : kAllTextKinds) members.emplace_back(TextKindName(kind), RecordText(ctx, kind, runIndex));
  const HistoryRecord& r = ctx.history.RunHistory.at(runIndex);
  const std::pair<const char*, const std::string*> fields[] = {
      {"image_id", &r.image_id},       {"folder_id", &r.folder_id}, {"image_name", &r.image_name},
      {"image_th", &r.image_th},       {"base_file", &r.base_file}, {"base_filefolder", &r.base_filefolder},
      {"upload_date", &r.upload_date}, {"group", &r.group}};
  for (const auto& [name, value] : fields) members.emplace_back(name, *value);
  return JsonObject(members);
}

std::string AsOutputText(const std::string& text) { return ReplaceAll(text, "\r\n", "\n"); }

}  // namespace cvu::cli
