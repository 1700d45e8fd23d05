// The main window's three popup menus.
#include <QMenu>

#include "app/cv_main.h"
#include "app/object_names.h"

namespace cvu {
namespace {

// The entry's caption and initial states, from the table the headless window uses too.
std::unique_ptr<QtMenuItem> Item(QAction* action, const char* name) {
  const InitialCaption& initial = MainCaption(name);
  Named(action, name);
  auto item = std::make_unique<QtMenuItem>(action);
  item->setCaption(std::string(initial.caption));
  item->setEnabled(initial.enabled);
  item->setVisible(initial.visible);
  return item;
}

// A menu entry; its shortcut works while the widget that owns the menu has the focus.
std::unique_ptr<QtMenuItem> Entry(QMenu* menu, QWidget* owner, const char* name, const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(QString());
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    owner->addAction(action);
  }
  return Item(action, name);
}

std::unique_ptr<QtMenuItem> Submenu(QMenu* menu, const char* name, QMenu** created) {
  *created = menu->addMenu(QString());
  return Item((*created)->menuAction(), name);
}

QAction* LogEntry(QMenu* menu, const char* name, const char* caption) {
  return Named(menu->addAction(QString::fromUtf8(caption)), name);
}

}  // namespace

void TCV_Main::buildLinksMenu() {
  QWidget* owner = w_.linksTable;
  QMenu* menu = w_.linksMenu = Named(new QMenu(this), "CV_Links_Menu");
  menu_.n1 = Entry(menu, owner, "N1", QKeySequence(Qt::CTRL | Qt::Key_S));
  Named(menu->addSeparator(), "N5");
  menu_.n6 = Entry(menu, owner, "N6", QKeySequence(Qt::CTRL | Qt::Key_C));
  menu_.n7 = Entry(menu, owner, "N7", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  QMenu* ownCode = nullptr;
  menu_.n11 = Submenu(menu, "N11", &ownCode);
  menu_.n12 = Entry(ownCode, owner, "N12", QKeySequence(Qt::CTRL | Qt::Key_1));
  menu_.n13 = Entry(ownCode, owner, "N13", QKeySequence(Qt::CTRL | Qt::Key_2));
  menu_.n14 = Entry(ownCode, owner, "N14", QKeySequence(Qt::CTRL | Qt::Key_3));
  QMenu* group = nullptr;
  menu_.n15 = Submenu(menu, "N15", &group);
  menu_.n16 = Entry(group, owner, "N16");
  menu_.n17 = Entry(group, owner, "N17");
  menu_.html1 = Entry(group, owner, "HTML1");
  menu_.bb1 = Entry(group, owner, "BB1");
  menu_.n18 = Entry(group, owner, "N18");
  menu_.n21 = Entry(group, owner, "N21");
  menu_.n31 = Entry(group, owner, "N31");
}

void TCV_Main::buildLogMenu() {
  QMenu* menu = w_.logMenu = Named(new QMenu(this), "CV_LogMenu");
  w_.n2 = LogEntry(menu, "N2", "Скопировать выделенное");
  w_.n3 = LogEntry(menu, "N3", "Сохранить лог в файл");
  Named(menu->addSeparator(), "N8");
  w_.n9 = LogEntry(menu, "N9", "Очистить лог");
  w_.n4 = LogEntry(menu, "N4", "Просмотреть расширенный лог");
}

void TCV_Main::buildUploadMenu() {
  w_.uploadMenu = Named(new QMenu(this), "CV_UpImageList_Menu");
  n10_ = Entry(w_.uploadMenu, w_.uploadTable, "N10", QKeySequence(Qt::Key_Delete));
}

}  // namespace cvu
