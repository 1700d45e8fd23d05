#include "links/history_page.h"

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/text.h"
#include "links/link_forms.h"
#include "links/templates.h"

namespace cvu {
namespace {

constexpr const char* kCopyLink = "Скопировать ссылку";
constexpr const char* kCopyDirectLink = "Скопировать прямую ссылку";
constexpr const char* kGroupMenu = "Действие над группой";

// An error that escapes a menu or button action (a clipboard that cannot be opened,
// a record that cannot be read) is shown to the user; the program goes on.
void RunAction(StoreContext& ctx, const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
}

HistoryRecord RecordAt(const HistoryList& list, int index) {
  if (!list.has(index)) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  return list.at(index);
}

std::vector<MenuItem*> GroupItems(MainControls& m) {
  return {&m.N16(), &m.N17(), &m.HTML1(), &m.BB1(), &m.N18(), &m.N21(), &m.N31()};
}

void SetGroupTags(MainControls& m, int value) {
  for (MenuItem* item : GroupItems(m)) item->setTag(value);
}

void SetRecordTags(MainControls& m, int value) {
  for (MenuItem* item : {&m.N12(), &m.N13(), &m.N14()}) item->setTag(value);
}

void HideGroupMenu(MainControls& m) {
  m.N15().setEnabled(false);
  m.N15().setVisible(false);
  m.N15().setCaption(kGroupMenu);
}

void ClearSelectionMenu(MainControls& m) {
  for (MenuItem* item : {&m.N1(), &m.N6(), &m.N7(), &m.N11()}) item->setEnabled(false);
  m.N6().setCaption(kCopyLink);
  m.N7().setCaption(kCopyDirectLink);
  HideGroupMenu(m);
  SetRecordTags(m, 0);
  SetGroupTags(m, 0);
}

struct SelectedLinks {
  std::string page;
  std::string direct;
};

// Reads the selected record and sets up the group submenu; throws when the record
// cannot be read. Links computed before a failure are kept.
void ReadSelection(StoreContext& ctx, int index, SelectedLinks& links) {
  MainControls& m = ctx.main;
  const bool full = ctx.history.FullHistoryShown;
  const HistoryRecord& r = RecordAt(full ? ctx.history.FullHistory : ctx.history.RunHistory, index);
  links.page = PageLink(r);
  links.direct = DirectLink(r);
  if (full) {
    SetGroupTags(m, 0);
    HideGroupMenu(m);
    return;
  }
  const long long group = TextToInt(r.group);
  SetGroupTags(m, static_cast<int>(group));
  m.N15().setCaption(std::string(kGroupMenu) + " — " + std::to_string(group + 1));
  m.N15().setEnabled(true);
  m.N15().setVisible(true);
}

// Copies the text that follows the prefix in the item's caption and logs it.
void CopyCaptionLink(StoreContext& ctx, MenuItem& item, const std::string& prefix) {
  if (!item.enabled()) return;  // nothing selected: the item cannot be chosen
  const std::string link = ReplaceAll(item.caption(), prefix + " ", "");
  RunAction(ctx, [&] {
    CopyToClipboard(ctx.clipboard, link);
    ctx.AddLogLine("Ссылка \"%\" скопирована", link);
  });
}

void OwnCodeClick(StoreContext& ctx, MenuItem& item, int templateNumber) {
  if (!ctx.main.N11().enabled()) return;  // the own-code submenu needs a selection
  RunAction(ctx, [&] {
    BuildTemplateText(ctx.main, ctx.history, ctx.clipboard, item.tag(), templateNumber, ctx.history.FullHistoryShown);
  });
}

HistoryItem RunItem(const HistoryList& list, int index) {
  const HistoryRecord& r = list.at(index);
  HistoryItem item;
  item.groupId = static_cast<int>(TextToInt(r.group));
  item.caption = r.base_file;
  item.date = r.upload_date;
  item.path = r.base_filefolder;
  item.recordIndex = index;
  return item;
}

bool SameItem(const HistoryItem& a, const HistoryItem& b) {
  return a.caption == b.caption && a.date == b.date && a.path == b.path && a.recordIndex == b.recordIndex &&
         a.groupId == b.groupId;
}

// The number of run-history items the view already shows as a refill would make them,
// or -1 when only a refill shows the list right: the view holds more than the list, its
// last item is not the list's record of that place (the full history is shown, say), or
// an item is selected (a refill drops the selection). Only this page fills the view, by
// whole lists or by appending the next record, so its last item tells for all of them:
// a record costs the same at the end of a long run as at its start.
int ShownRunItems(HistoryView& view, const HistoryList& list) {
  const int shown = view.itemCount();
  if (shown > list.count() || view.selectedItem()) return -1;
  if (shown > 0 && !SameItem(view.item(shown - 1), RunItem(list, shown - 1))) return -1;
  return shown;
}

}  // namespace

void FillHistoryView(HistoryView& view, const History& history, bool full) {
  view.clearItems();
  // The full history can hold a million records: the view reads them in place.
  if (full) {
    view.showRows(history.FullHistory);
    return;
  }
  const HistoryList& list = history.RunHistory;
  for (int i = 0; i < list.count(); ++i) view.addItem(RunItem(list, i));
}

namespace {

// After a record the run view usually lacks only the new item: adding just that one
// shows what a refill would, without rebuilding the whole list for every image.
void UpdateRunView(HistoryView& view, const History& history) {
  const HistoryList& list = history.RunHistory;
  const int shown = ShownRunItems(view, list);
  if (shown < 0) {
    FillHistoryView(view, history, false);
    return;
  }
  for (int i = shown; i < list.count(); ++i) view.addItem(RunItem(list, i));
}

}  // namespace

bool ToggleHistoryView(MainControls& main, History& history) {
  HistoryView& view = main.CV_Links_Table();
  // The button always names the view that the next click brings up.
  const bool showFull = !history.FullHistoryShown;
  main.CVU_HistoryBtn().setText(showFull ? "Последний запуск" : "Полная история");
  history.FullHistoryShown = showFull;
  view.setGroupView(!showFull);
  FillHistoryView(view, history, showFull);
  if (view.itemCount() > 0) view.scrollToLastItem();
  return showFull;
}

void CVU_HistoryBtnClick(StoreContext& ctx) {
  RunAction(ctx, [&] {
    const bool full = ToggleHistoryView(ctx.main, ctx.history);
    ctx.AddLogLine(full ? "Полная история загружена" : "История сессии загружена", "");
  });
}

void CV_Links_TableSelectItem(StoreContext& ctx) {
  MainControls& m = ctx.main;
  const std::optional<int> selected = m.CV_Links_Table().selectedItem();
  if (!selected) {
    ClearSelectionMenu(m);
    return;
  }
  const int index = m.CV_Links_Table().item(*selected).recordIndex;
  SelectedLinks links;
  try {
    ReadSelection(ctx, index, links);
  } catch (const std::exception& e) {
    // Offer no group action for a record that could not be read, so the group
    // items never act on the group of an earlier selection.
    SetGroupTags(m, 0);
    HideGroupMenu(m);
    ctx.AddLogLine("[Error 067] #145# Ошибка при выводе ссылок. Код ошибки: %", e.what());
  }
  m.N1().setEnabled(true);
  m.N6().setEnabled(true);
  m.N6().setCaption(std::string(kCopyLink) + " " + links.page);
  m.N7().setEnabled(true);
  m.N7().setCaption(std::string(kCopyDirectLink) + " " + links.direct);
  m.N11().setEnabled(true);
  SetRecordTags(m, index);
}

void N6Click(StoreContext& ctx) { CopyCaptionLink(ctx, ctx.main.N6(), kCopyLink); }

void N7Click(StoreContext& ctx) { CopyCaptionLink(ctx, ctx.main.N7(), kCopyDirectLink); }

void N12Click(StoreContext& ctx) { OwnCodeClick(ctx, ctx.main.N12(), 1); }

void N13Click(StoreContext& ctx) { OwnCodeClick(ctx, ctx.main.N13(), 2); }

void N14Click(StoreContext& ctx) { OwnCodeClick(ctx, ctx.main.N14(), 3); }

void GroupActionClick(StoreContext& ctx, int kind) {
  if (!ctx.main.N15().enabled()) return;  // the group submenu is there only for a run-view selection
  RunAction(ctx, [&] { CopyGroupText(ctx.main, ctx.history, ctx.clipboard, kind, ctx.main.N16().tag()); });
}

void RefreshHistoryPage(MainControls& main, History& history) {
  if (history.FullHistoryShown) {
    ToggleHistoryView(main, history);
  } else {
    UpdateRunView(main.CV_Links_Table(), history);
  }
}

}  // namespace cvu
