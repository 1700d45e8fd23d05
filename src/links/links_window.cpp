#include "links/links_window.h"

#include <exception>

#include "links/link_forms.h"
#include "links/templates.h"

namespace cvu {
namespace {

struct RowTops {
  int label;
  int field;
};

// Tops of rows 5, 6 and 7 with and without the thumbnail row.
constexpr RowTops kWithThumb[3] = {{195, 214}, {273, 292}, {351, 370}};
constexpr RowTops kWithoutThumb[3] = {{147, 166}, {225, 244}, {303, 322}};

HistoryRecord SelectedRecord(const StoreContext& ctx, int index) {
  const auto& list = ctx.history.FullHistoryShown ? ctx.history.FullHistory : ctx.history.RunHistory;
  return list.at(index);
}

void FillFields(StoreContext& ctx, LinksControls& w, int index) {
  const HistoryRecord& r = SelectedRecord(ctx, index);
  w.field(1).setText(PageLink(r));
  w.field(2).setText(FullViewLink(r));
  w.field(3).setText(DirectLink(r));
  const bool thumb = r.image_th != "0";
  SetThumbnailLayout(w, thumb);
  w.field(4).setText(thumb ? ThumbnailLink(r) : "http://");
  w.field(5).setText(HtmlCode(r));
  w.field(6).setText(BbCode(r));
  const int templateNumber = ctx.main.CVU_LinkMycodeID().itemIndex() + 1;
  w.field(7).setText(
      BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, index, templateNumber, ctx.history.FullHistoryShown));
}

}  // namespace

void SetThumbnailLayout(LinksControls& w, bool shown) {
  w.setOuterHeight(shown ? 468 : 420);
  w.setRowVisible(4, shown);
  const RowTops* tops = shown ? kWithThumb : kWithoutThumb;
  for (int row = 5; row <= 7; ++row) w.moveRow(row, tops[row - 5].label, tops[row - 5].field);
}

void ShowLinksWindow(StoreContext& ctx, LinksControls& w) {
  const auto selected = ctx.main.CV_Links_Table().selectedItem();
  if (!selected) return;
  try {
    FillFields(ctx, w, ctx.main.CV_Links_Table().item(*selected).recordIndex);
  } catch (const std::exception& e) {
    ctx.AddLogLine("[Error 063] Ошибка при выводе группы ссылок. Код ошибки: %", e.what());
  }
  w.showWindow();
}

void CopyLinksRow(StoreContext& ctx, LinksControls& w, int row) {
  try {
    CopyToClipboard(ctx.clipboard, w.field(row).text());
  } catch (const std::exception&) {
    // A copy button reports nothing; the clipboard keeps what it had.
  }
}

}  // namespace cvu
