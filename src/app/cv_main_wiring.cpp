// Every handler of the main window is connected here: each control's signal goes to
// its core function through the run's context.
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include "account/login.h"
#include "app/cv_links.h"
#include "app/cv_main.h"

#include "app/clipboard_paste.h"
#include "common/log_menu.h"
#include "links/history_page.h"
#include "links/links_window.h"
#include "store/settings.h"
#include "upload/upload_list.h"
#include "upload/upload_worker.h"

namespace cvu {
namespace {

void PopupAt(QMenu* menu, QAbstractScrollArea* owner, const QPoint& pos) {
  menu->popup(owner->viewport()->mapToGlobal(pos));
}

}  // namespace

void TCV_Main::wireHandlers() {
  wireHistoryPage();
  wireLog();
  wireUploadPage();
  wireProfilePage();
  connect(w_.homeLink, &QLabel::linkActivated, this,
          [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
}

void TCV_Main::wireHistoryPage() {
  linksTable_->onSelectionChanged = [this] { withContext(&CV_Links_TableSelectItem); };
  const auto showLinks = [this] {
    withContext([this](AppContext& ctx) {
      if (links_ != nullptr) ShowLinksWindow(ctx, *links_);
    });
  };
  connect(w_.linksTable, &QTreeView::doubleClicked, this, [this, showLinks](const QModelIndex& index) {
    if (linksTable_->itemAtRow(index) >= 0) showLinks();  // CV_Links_TableDblClick
  });
  connect(w_.linksTable, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupAt(w_.linksMenu, w_.linksTable, pos); });
  connect(w_.historyBtn, &QPushButton::clicked, this, [this] { withContext(&CVU_HistoryBtnClick); });
  connect(menu_.n1->action(), &QAction::triggered, this, showLinks);
  connect(menu_.n6->action(), &QAction::triggered, this, [this] { withContext(&N6Click); });
  connect(menu_.n7->action(), &QAction::triggered, this, [this] { withContext(&N7Click); });
  connect(menu_.n12->action(), &QAction::triggered, this, [this] { withContext(&N12Click); });
  connect(menu_.n13->action(), &QAction::triggered, this, [this] { withContext(&N13Click); });
  connect(menu_.n14->action(), &QAction::triggered, this, [this] { withContext(&N14Click); });
  const QtMenuItem* groupItems[] = {menu_.n16.get(), menu_.n17.get(), menu_.html1.get(), menu_.bb1.get(),
                                    menu_.n18.get(), menu_.n21.get(), menu_.n31.get()};
  for (int kind = 1; kind <= 7; ++kind) {
    connect(groupItems[kind - 1]->action(), &QAction::triggered, this,
            [this, kind] { withContext([kind](AppContext& ctx) { GroupActionClick(ctx, kind); }); });
  }
}

void TCV_Main::wireLog() {
  connect(w_.logList, &QListView::doubleClicked, this, [this] { runHandler([this] { CVU_LOGLISTDblClick(); }); });
  connect(w_.logList, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupAt(w_.logMenu, w_.logList, pos); });
  connect(w_.n2, &QAction::triggered, this,
          [this] { withContext([this](AppContext& ctx) { N2Click(*logList_, ctx.clipboard); }); });
  connect(w_.n3, &QAction::triggered, this,
          [this] { withContext([this](AppContext& ctx) { N3Click(*logList_, ctx.dialogs, ctx.clock); }); });
  connect(w_.n9, &QAction::triggered, this, [this] { runHandler([this] { N9Click(*logList_); }); });
  connect(w_.n4, &QAction::triggered, this, [this] { runHandler([this] { CVU_LOGLISTDblClick(); }); });
}

void TCV_Main::wireUploadPage() {
  connect(w_.uploadTable, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupAt(w_.uploadMenu, w_.uploadTable, pos); });
  connect(n10_->action(), &QAction::triggered, this, [this] { withContext(&N10Click); });
  connect(w_.effBtn, &QPushButton::clicked, this, [this] { runHandler([this] { CVU_EffBtnClick(); }); });
  connect(w_.uploadBtn, &QPushButton::clicked, this, [this] { withContext(&CVU_UploadBtnClick); });
  connect(w_.openFilesBtn, &QPushButton::clicked, this, [this] { withContext(&CVU_OpenFilesBtnClick); });
  // Ctrl+V and Shift+Insert while the upload page (the list's page) is shown.
  InstallPasteKeys(w_.uploadTable->parentWidget(), [this] { withContext(&PasteIntoUploadList); });
}

void TCV_Main::wireProfilePage() {
  // Written on the user's clicks only: filling the boxes at start writes nothing back.
  const std::pair<QCheckBox*, void (*)(StoreContext&)> boxes[] = {
      {w_.confirmDelete, &CVU_ConfirmDeleteClick}, {w_.titleInfo, &CVU_TitleInfoClick},
      {w_.autoUpload, &CVU_AutoUploadClick},       {w_.startAutoUpload, &CVU_StartAutoUploadClick},
      {w_.sendAnonymous, &CVU_SendAnonymousClick},
  };
  for (const auto& [box, handler] : boxes) {
    connect(box, &QCheckBox::clicked, this, [this, handler = handler] { withContext(handler); });
  }
  connect(w_.myCodeSaveBtn, &QToolButton::clicked, this, [this] { withContext(&SaveMyCodeTemplates); });
  connect(w_.optionsList, &QTreeWidget::itemClicked, this, [this] { runHandler([this] { CVU_OptionsListClick(); }); });
  // Chosen with the arrow keys as well as clicked.
  connect(w_.optionsList, &QTreeWidget::itemSelectionChanged, this,
          [this] { runHandler([this] { CVU_OptionsListClick(); }); });
  connect(w_.authBtn, &QPushButton::clicked, this, [this] { withContext(&CVU_AuthBtnClick); });
  connect(w_.authResetBtn, &QToolButton::clicked, this, [this] { withContext(&CVU_AuthResetBtnClick); });
}

}  // namespace cvu
