// The windows as a keyboard and a screen reader meet them: Tab reaches every control that
// takes input, in reading order, and each is named; the history list takes Enter; the
// secondary windows are dialogs that Escape closes; a group row speaks its subtitle.
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "gui_fixture.h"
#include "links/history_page.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;
using cvu::test::RunRecord;

namespace {

QString SpokenName(QWidget* w) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
  if (iface == nullptr) return {};
  // A tab bar is spoken as its current tab.
  if (auto* bar = qobject_cast<QTabBar*>(w)) iface = iface->child(bar->currentIndex());
  return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

// Presses Tab until the focus comes back to where it began; the object names of the
// controls it stopped at, each with what a screen reader calls it.
QStringList TabChain(QWidget& window, QWidget* first) {
  // The offscreen desktop does not hand the focus between windows: the window is made
  // the active one directly.
  QApplication::setActiveWindow(&window);
  if (!QTest::qWaitForWindowActive(&window)) return {QStringLiteral("the window did not become active")};
  first->setFocus(Qt::TabFocusReason);
  QStringList chain;
  for (int i = 0; i < 40; ++i) {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) break;
    const QString name = focused->objectName().isEmpty() ? focused->metaObject()->className() : focused->objectName();
    chain << name + " = " + SpokenName(focused);
    QTest::keyClick(&window, Qt::Key_Tab);
    if (QApplication::focusWidget() == first) break;
  }
  return chain;
}

// The names of the chain without what they are called, and whether every one is called something.
QStringList Names(const QStringList& chain) {
  QStringList names;
  for (const QString& entry : chain) names << entry.section(QStringLiteral(" = "), 0, 0);
  return names;
}
bool AllSpoken(const QStringList& chain) {
  for (const QString& entry : chain) {
    if (entry.section(QStringLiteral(" = "), 1).trimmed().isEmpty()) return false;
  }
  return true;
}

}  // namespace

class KeyboardAccessTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    gui_ = std::make_unique<GuiProgram>();
    QVERIFY(gui_->startAndShow());
    gui_->main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&gui_->main()));
  }
  void cleanup() { gui_.reset(); }

  void eachPageIsWalkedByTabInReadingOrderAndEveryStopIsNamed_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("upload") << 0 << QStringList{"qt_tabwidget_tabbar", "CVU_EffBtn",      "CVU_UploadBtn",
                                                "CVU_OpenFilesBtn",    "CVU_UploadTable", "CVU_LOGLIST"};
    QTest::newRow("history") << 1
                             << QStringList{"qt_tabwidget_tabbar", "CVU_HistoryBtn", "CV_Links_Table", "CVU_LOGLIST"};
    QTest::newRow("profile") << 2 << QStringList{"qt_tabwidget_tabbar", "CVU_OptionsList",  "CVU_ConfirmDelete",
                                                 "CVU_TitleInfo",       "CVU_AutoUpload",   "CVU_SendAnonymous",
                                                 "CVU_AutoAction",      "CVU_LinkMycodeID", "CVU_LOGLIST"};
    QTest::newRow("about") << 3 << QStringList{"qt_tabwidget_tabbar", "CVU_HomeLink", "CVU_LOGLIST"};
  }
  void eachPageIsWalkedByTabInReadingOrderAndEveryStopIsNamed() {
    QFETCH(int, page);
    QFETCH(QStringList, expected);
    auto* pager = Find<QTabWidget>(gui_->main(), "CV_AOPager");
    pager->setCurrentIndex(page);
    const QStringList chain = TabChain(gui_->main(), pager->tabBar());
    QCOMPARE(Names(chain), expected);
    QVERIFY2(AllSpoken(chain), qPrintable(chain.join('\n')));
  }

  // The option tree answers the arrow keys: the account sheet's fields are named by their labels.
  void theAccountSheetIsReachedWithTheArrowKeysAndItsFieldsAreNamed() {
    auto* pager = Find<QTabWidget>(gui_->main(), "CV_AOPager");
    pager->setCurrentIndex(2);
    QWidget* tree = Find<QWidget>(gui_->main(), "CVU_OptionsList");
    tree->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tree, Qt::Key_Down);  // from "Программа" to "Аутентификация"
    const QStringList chain = TabChain(gui_->main(), tree);
    QVERIFY2(chain.contains(QStringLiteral("CVU_UserName = Логин")), qPrintable(chain.join('\n')));
    QVERIFY(chain.contains(QStringLiteral("CVU_UserSecure = Пароль")));
    QVERIFY(Names(chain).contains(QStringLiteral("CVU_AuthBtn")));
    QVERIFY2(AllSpoken(chain), qPrintable(chain.join('\n')));
  }

  void theHistoryListTakesEnterAndItsGroupRowsSpeakTheirSubtitle() {
    gui_->ctx().history.RunHistory.push_back(RunRecord("a1", 0));
    HistoryView& view = gui_->main().CV_Links_Table();
    view.addGroup(0, "Группа 1");
    view.setGroupSubtitle(0, "Изображений загружено: 1 из 3");
    FillHistoryView(gui_->ctx().main.CV_Links_Table(), gui_->ctx().history, false);
    Find<QTabWidget>(gui_->main(), "CV_AOPager")->setCurrentIndex(1);
    auto* tree = Find<QTreeView>(gui_->main(), "CV_Links_Table");
    gui_->main().historyView().selectItem(0);
    tree->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tree, Qt::Key_Return);
    QTRY_VERIFY(gui_->program->links().isVisible());
    const QModelIndex group = tree->model()->index(0, 0);
    QCOMPARE(group.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Группа 1. Изображений загружено: 1 из 3"));
  }

  // Each row of the links window: its text named by its label, then its copy button,
  // named after what it copies.
  void theLinksWindowsRowsAndCopyButtonsAreReachedAndNamed() {
    TCV_Links& links = gui_->program->links();
    links.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&links));
    const QStringList chain = TabChain(links, Find<QWidget>(links, "CV_Links_01"));
    QVERIFY2(chain.size() == 14, qPrintable(chain.join('\n')));
    QCOMPARE(chain.at(0), QStringLiteral("CV_Links_01 = Ссылка на просмотр изображения"));
    QCOMPARE(chain.at(1), QStringLiteral("CV_Links_01_Copy = Скопировать: Ссылка на просмотр изображения"));
    QCOMPARE(chain.at(13), QStringLiteral("CV_Links_07_Copy = Скопировать: Свой код"));
  }

  void theSecondaryWindowsAreDialogsThatEscapeCloses() {
    QWidget* windows[] = {&gui_->program->links(), &gui_->program->bigLog(), &gui_->program->upOptions()};
    for (QWidget* window : windows) {
      QCOMPARE(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Dialog);
      window->show();
      window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window));
      QTest::keyClick(window, Qt::Key_Escape);
      QTRY_VERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
  }

 private:
  std::unique_ptr<GuiProgram> gui_;
};

QTEST_MAIN(KeyboardAccessTest)
#include "keyboard_access_test.moc"
