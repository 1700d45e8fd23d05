#include "links/templates.h"

#include <utility>
#include <vector>

#include "common/text.h"
#include "links/link_forms.h"

namespace cvu {
namespace {

TextBox* TemplateEditor(MainControls& main, int templateNumber) {
  switch (templateNumber) {
    case 1:
      return &main.CVU_MYV1();
    case 2:
      return &main.CVU_MYV2();
    case 3:
      return &main.CVU_MYV3();
    default:
      return nullptr;
  }
}

std::string GroupPiece(MainControls& main, const History& history, Clipboard& clipboard, int kind, int index) {
  const HistoryRecord& r = history.RunHistory.at(index);
  switch (kind) {
    case 1:
      return PageLink(r);
    case 2:
      return FullViewLink(r);
    case 3:
      return HtmlCode(r);
    case 4:
      return BbCode(r);
    default:
      return BuildTemplateText(main, history, clipboard, index, kind - 4, false);
  }
}

}  // namespace

// The placeholders in the order they are replaced: text put in by one replacement is
// seen by every later one, never by itself.
std::string ExpandTemplate(const std::string& text, const HistoryRecord& r) {
  const std::vector<std::pair<const char*, std::string>> values = {
      {"%P%", PageLink(r)},   {"%FP%", FullViewLink(r)}, {"%PIC%", DirectLink(r)}, {"%TPIC%", ThumbnailLink(r)},
      {"%ID%", r.image_name}, {"%FN%", r.base_file},     {"%D%", r.upload_date},   {"%A%", "error"},
  };
  std::string result = text;
  for (const auto& [token, value] : values) result = ReplaceAll(result, token, value);
  return result;
}

std::string BuildTemplateText(MainControls& main, const History& history, Clipboard& clipboard, int index,
                              int templateNumber, bool useFullHistory) {
  TextBox* editor = TemplateEditor(main, templateNumber);
  if (editor == nullptr) return {};
  const std::string text = editor->text();
  const HistoryList& list = useFullHistory ? history.FullHistory : history.RunHistory;
  if (text.empty() || !list.has(index)) return {};
  std::string result = ExpandTemplate(text, list.at(index));
  CopyToClipboard(clipboard, result);
  return result;
}

void CopyGroupText(MainControls& main, const History& history, Clipboard& clipboard, int kind, int groupId) {
  // -1 marks the ungrouped items of the full history; it is never an upload group.
  if (kind < 1 || kind > 7 || groupId < 0) return;
  const HistoryView& view = main.CV_Links_Table();
  std::string text;
  for (int i = 0; i < view.itemCount(); ++i) {
    const HistoryItem item = view.item(i);
    // Items of the full history carry group -1, so they never match an upload group.
    if (item.groupId != groupId || !history.RunHistory.has(item.recordIndex)) continue;
    text += "\r\n" + GroupPiece(main, history, clipboard, kind, item.recordIndex);
  }
  text = TrimControl(text);
  if (!text.empty()) CopyToClipboard(clipboard, text);
}

}  // namespace cvu
