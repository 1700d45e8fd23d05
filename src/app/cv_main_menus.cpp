// The main window's three popup menus and the wiring of its controls to the handlers.
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

#include "app/cv_links.h"
#include "app/cv_main.h"
#include "common/log_menu.h"
#include "links/history_page.h"
#include "links/links_window.h"

namespace cvu {
namespace {

// A menu entry; its shortcut works while the widget that owns the menu has the focus.
std::unique_ptr<QtMenuItem> Entry(QMenu* menu, QWidget* owner, const char* caption, const QKeySequence& shortcut,
                                  bool enabled) {
  QAction* action = menu->addAction(QString());
  auto item = std::make_unique<QtMenuItem>(action);
  item->setCaption(caption);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    owner->addAction(action);
  }
  action->setEnabled(enabled);
  return item;
}

std::unique_ptr<QtMenuItem> Submenu(QMenu* menu, const char* caption, QMenu** created) {
  *created = menu->addMenu(QString());
  auto item = std::make_unique<QtMenuItem>((*created)->menuAction());
  item->setCaption(caption);
  return item;
}

void PopupAt(QMenu* menu, QAbstractScrollArea* owner, const QPoint& pos) {
  menu->popup(owner->viewport()->mapToGlobal(pos));
}

}  // namespace

void TCV_Main::buildLinksMenu() {
  QWidget* owner = w_.linksTable;
  QMenu* menu = w_.linksMenu = new QMenu(this);
  menu_.n1 = Entry(menu, owner, "Просмотреть ссылки и коды", QKeySequence(Qt::CTRL | Qt::Key_S), false);
  menu->addSeparator();  // N5
  menu_.n6 = Entry(menu, owner, "Скопировать ссылку", QKeySequence(Qt::CTRL | Qt::Key_C), false);
  menu_.n7 = Entry(menu, owner, "Скопировать прямую ссылку", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), false);
  QMenu* ownCode = nullptr;
  menu_.n11 = Submenu(menu, "Скопировать \"Свой код\"", &ownCode);
  menu_.n11->setEnabled(false);
  menu_.n12 = Entry(ownCode, owner, "Первый", QKeySequence(Qt::CTRL | Qt::Key_1), true);
  menu_.n13 = Entry(ownCode, owner, "Второй", QKeySequence(Qt::CTRL | Qt::Key_2), true);
  menu_.n14 = Entry(ownCode, owner, "Третий", QKeySequence(Qt::CTRL | Qt::Key_3), true);
  QMenu* group = nullptr;
  menu_.n15 = Submenu(menu, "Действие над группой", &group);
  menu_.n15->setEnabled(false);
  menu_.n15->setVisible(false);
  const QKeySequence none;
  menu_.n16 = Entry(group, owner, "Скопировать ссылки на изображения", none, true);
  menu_.n17 = Entry(group, owner, "Скопировать прямые ссылки на изображения", none, true);
  menu_.html1 = Entry(group, owner, "Скопировать HTML-код", none, true);
  menu_.bb1 = Entry(group, owner, "Скопировать BB-код", none, true);
  menu_.n18 = Entry(group, owner, "Скопировать Свой код 1", none, true);
  menu_.n21 = Entry(group, owner, "Скопировать Свой код 2", none, true);
  menu_.n31 = Entry(group, owner, "Скопировать Свой код 3", none, true);
}

void TCV_Main::buildLogMenu() {
  QMenu* menu = w_.logMenu = new QMenu(this);
  w_.n2 = menu->addAction(QStringLiteral("Скопировать выделенное"));
  w_.n3 = menu->addAction(QStringLiteral("Сохранить лог в файл"));
  menu->addSeparator();  // N8
  w_.n9 = menu->addAction(QStringLiteral("Очистить лог"));
  w_.n4 = menu->addAction(QStringLiteral("Просмотреть расширенный лог"));
}

void TCV_Main::buildUploadMenu() {
  w_.uploadMenu = new QMenu(this);
  n10_ = Entry(w_.uploadMenu, w_.uploadTable, "Удалить изображения из списка", QKeySequence(Qt::Key_Delete), true);
}

void TCV_Main::wireHandlers() {
  // History page.
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

  // Activity log.
  connect(w_.logList, &QListWidget::doubleClicked, this, [this] { runHandler([this] { CVU_LOGLISTDblClick(); }); });
  connect(w_.logList, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupAt(w_.logMenu, w_.logList, pos); });
  connect(w_.n2, &QAction::triggered, this, [this] { withContext([this](AppContext& ctx) { N2Click(*logList_, ctx.clipboard); }); });
  connect(w_.n3, &QAction::triggered, this,
          [this] { withContext([this](AppContext& ctx) { N3Click(*logList_, ctx.dialogs, ctx.clock); }); });
  connect(w_.n9, &QAction::triggered, this, [this] { runHandler([this] { N9Click(*logList_); }); });
  connect(w_.n4, &QAction::triggered, this, [this] { runHandler([this] { CVU_LOGLISTDblClick(); }); });

  // Upload page.
  connect(w_.uploadTable, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupAt(w_.uploadMenu, w_.uploadTable, pos); });
  connect(n10_->action(), &QAction::triggered, this, [this] { runHandler([this] { callHook(hooks.n10Click); }); });
  connect(w_.effBtn, &QPushButton::clicked, this, [this] { runHandler([this] { CVU_EffBtnClick(); }); });
  connect(w_.uploadBtn, &QPushButton::clicked, this, [this] { runHandler([this] { callHook(hooks.uploadBtnClick); }); });
  connect(w_.openFilesBtn, &QPushButton::clicked, this,
          [this] { runHandler([this] { callHook(hooks.openFilesBtnClick); }); });

  wireOptionBoxes();
}

}  // namespace cvu
