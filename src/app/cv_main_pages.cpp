// The upload and history pages and the strips along the bottom of the main window.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <functional>

#include "app/cv_main.h"

#include "app/default_buttons.h"
#include "app/line_height_delegate.h"
#include "app/object_names.h"

namespace cvu {
namespace {

// A button of a page's top bar, named and captioned after its control.
QPushButton* BarButton(const char* name, int width, QWidget* parent) {
  auto* button = Named(new QPushButton(InitialText(name), parent), name);
  button->setAutoDefault(false);
  button->setMinimumHeight(30);
  if (width > 0) button->setFixedWidth(width);
  return button;
}

template <typename List>
List* LogStyleList(int lineHeight, QWidget* parent) {
  auto* list = new List(parent);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setUniformItemSizes(true);
  list->setItemDelegate(new LineHeightDelegate(lineHeight, list));
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  return list;
}

// The history list's keys. It has no copy of its own: Ctrl+C is the shortcut of
// "Скопировать ссылку", and while that entry is disabled the key does nothing (the view
// would otherwise put the current row's text on the clipboard). Enter on an image opens
// its links, as a double click does.
class HistoryKeys : public QObject {
 public:
  HistoryKeys(QObject* parent, std::function<void()> enter) : QObject(parent), enter_(std::move(enter)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy)) return true;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
      enter_();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> enter_;
};

}  // namespace

QWidget* TCV_Main::buildUploadPage() {
  auto* page = Named(new QWidget, "CV_AOPMainPage");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  auto* bar = new QHBoxLayout;
  w_.effBtn = BarButton("CVU_EffBtn", 150, page);
  w_.uploadBtn = BarButton("CVU_UploadBtn", 0, page);
  w_.openFilesBtn = BarButton("CVU_OpenFilesBtn", 150, page);
  w_.openFilesBtn->setDefault(true);
  bar->addWidget(w_.effBtn);
  bar->addWidget(w_.uploadBtn, 1);
  bar->addWidget(w_.openFilesBtn);
  layout->addLayout(bar);
  w_.uploadTable = Spoken(Named(LogStyleList<QListWidget>(20, page), "CVU_UploadTable"), "Изображения для загрузки");
  layout->addWidget(w_.uploadTable, 1);
  MakePageDefaultButton(this, w_.pager, page, w_.openFilesBtn);
  uploadTable_ = std::make_unique<QtListBox>(w_.uploadTable, true);
  effBtn_ = std::make_unique<QtButton>(w_.effBtn);
  uploadBtn_ = std::make_unique<QtButton>(w_.uploadBtn);
  openFilesBtn_ = std::make_unique<QtButton>(w_.openFilesBtn);
  return page;
}

QWidget* TCV_Main::buildHistoryPage() {
  auto* page = Named(new QWidget, "CV_History");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* panel = new QWidget(page);
  panel->setFixedHeight(41);
  auto* bar = new QHBoxLayout(panel);
  bar->setContentsMargins(3, 3, 3, 3);
  bar->addStretch(1);
  w_.historyBtn = BarButton("CVU_HistoryBtn", 120, panel);
  w_.historyBtn->setFixedHeight(35);
  w_.historyBtn->setCursor(Qt::PointingHandCursor);
  bar->addWidget(w_.historyBtn);
  layout->addWidget(panel);

  auto* tree = Spoken(Named(new QTreeView(page), "CV_Links_Table"), "История загрузок");
  tree->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree->setAllColumnsShowFocus(true);
  tree->setMouseTracking(true);  // hot tracking
  tree->viewport()->setCursor(Qt::PointingHandCursor);
  tree->setContextMenuPolicy(Qt::CustomContextMenu);
  // Enter is "Просмотреть ссылки и коды", which is there for a selected image only.
  tree->installEventFilter(new HistoryKeys(tree, [this] { menu_.n1->action()->trigger(); }));
  QPalette palette = tree->palette();
  palette.setColor(QPalette::Base, Qt::white);
  // The selection stays as visible when the list loses the focus.
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  tree->setPalette(palette);
  linksTable_ = std::make_unique<QtHistoryView>(tree);
  tree->header()->setSectionsMovable(false);
  tree->header()->setStretchLastSection(false);
  const int widths[] = {200, 155, 196};
  for (int column = 0; column < 3; ++column) tree->setColumnWidth(column, widths[column]);
  layout->addWidget(tree, 1);
  w_.linksTable = tree;
  historyBtn_ = std::make_unique<QtButtonCaption>(w_.historyBtn);
  return page;
}

QWidget* TCV_Main::buildLogList() {
  w_.logList = Spoken(Named(LogStyleList<QListView>(13, this), "CVU_LOGLIST"), "Лог");
  w_.logList->setFixedHeight(90);
  logList_ = std::make_unique<QtLogList>(w_.logList, logLines_, kLogBatchMs);
  return w_.logList;
}

QWidget* TCV_Main::buildProgressStrip() {
  auto* strip = new QWidget(this);
  strip->setFixedHeight(21);
  auto* layout = new QHBoxLayout(strip);
  layout->setContentsMargins(0, 1, 0, 1);
  layout->setSpacing(2);
  auto* image = Spoken(Named(new QProgressBar(strip), "CVU_PBarImage"), "Загрузка изображения");
  auto* full = Spoken(Named(new QProgressBar(strip), "CVU_PBarFull"), "Загрузка группы изображений");
  for (QProgressBar* bar : {image, full}) {
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar, 1);
  }
  pbarImage_ = std::make_unique<QtProgressBar>(image);
  pbarFull_ = std::make_unique<QtProgressBar>(full);
  return strip;
}

QWidget* TCV_Main::buildStatusBar() {
  auto* bar = Named(new QStatusBar(this), "CVU_InfoBar");
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(19);
  auto* clock = Named(new QLabel(bar), "CVU_Clock");
  clock->setFixedWidth(169);
  clock->setAlignment(Qt::AlignCenter);
  auto* status = Named(new QLabel(bar), "CVU_InfoStatus");
  bar->addWidget(clock);
  bar->addWidget(status, 1);
  clock_ = std::make_unique<QtLabel>(clock);
  infoStatus_ = std::make_unique<QtLabel>(status);
  return bar;
}

}  // namespace cvu
