#include "cli/record_output.h"

#include "cli/json_text.h"
#include "common/text.h"
#include "links/link_forms.h"
#include "links/templates.h"

namespace cvu::cli {

std::string RecordText(const HistoryRecord& r, TextKind kind, const OwnCodes& ownCodes) {
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
      const std::string& text = ownCodes.at(static_cast<std::size_t>(TemplateNumber(kind) - 1));
      return text.empty() ? std::string() : ExpandTemplate(text, r);
  }
}

std::string RecordJson(const HistoryRecord& r, const OwnCodes& ownCodes, const std::string& file) {
  std::vector<std::pair<std::string, std::string>> members = {{"file", file}};
  for (const TextKind kind : kAllTextKinds) members.emplace_back(TextKindName(kind), RecordText(r, kind, ownCodes));
  const std::pair<const char*, const std::string*> fields[] = {
      {"image_id", &r.image_id},       {"folder_id", &r.folder_id}, {"image_name", &r.image_name},
      {"image_th", &r.image_th},       {"base_file", &r.base_file}, {"base_filefolder", &r.base_filefolder},
      {"upload_date", &r.upload_date}, {"group", &r.group}};
  for (const auto& [name, value] : fields) members.emplace_back(name, *value);
  return JsonObject(members);
}

std::string AsOutputText(const std::string& text) { return ReplaceAll(text, "\r\n", "\n"); }

}  // namespace cvu::cli
