// The history page: its two views, its menu before and after a selection, the group
// actions and the links window opened from the list.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "common/identity.h"
#include "gui_fixture.h"
#include "links/history_page.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;
using cvu::test::Q;
using cvu::test::RunRecord;

namespace {

const char* kFullRows =
    "INSERT INTO CVU_HISTORY VALUES('f0','i1','f0.jpg','0','old0.jpg','/old/old0.jpg','1 Январь 2020 г. 1:00:00');"
    "INSERT INTO CVU_HISTORY VALUES('f1','i2','f1.jpg','f1.th.jpg','old1.jpg','/old/old1.jpg','2 Январь 2020 г. "
    "2:00:00');";

// Two upload groups: a0, a1 in the first; b0, b1, b2 in the second.
void FillTwoGroups(GuiProgram& gui) {
  auto& records = gui.ctx().history.RunHistory;
  for (const char* id : {"a0", "a1"}) records.push_back(RunRecord(id, 0));
  for (const char* id : {"b0", "b1", "b2"}) records.push_back(RunRecord(id, 1, "t.png"));
  HistoryView& view = gui.main().CV_Links_Table();
  view.addGroup(0, "Группа 1 (8 Декабрь 2026 г. 0:07:51)");
  view.addGroup(1, "Группа 2 (8 Декабрь 2026 г. 0:08:40)");
  FillHistoryView(gui.ctx().main.CV_Links_Table(), gui.ctx().history, false);
}

std::string Host() { return ServiceHost(); }

}  // namespace

class HistoryPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    gui_ = std::make_unique<GuiProgram>(kFullRows);
    QVERIFY(gui_->startAndShow());
    Find<QTabWidget>(gui_->main(), "CV_AOPager")->setCurrentIndex(1);
    FillTwoGroups(*gui_);
  }
  void cleanup() { gui_.reset(); }

  void runViewShowsTheGroupsWithTheirItems() {
    HistoryModel& model = gui_->main().historyView().model();
    model.flush();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.rowCount(model.index(0, 0)), 2);
    QCOMPARE(model.rowCount(model.index(1, 0)), 3);
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Группа 2 (8 Декабрь 2026 г. 0:08:40)"));
    QCOMPARE(model.index(2, 0, model.index(1, 0)).data().toString(), QStringLiteral("b2.png"));
    QCOMPARE(model.index(2, 2, model.index(1, 0)).data().toString(), QStringLiteral("/home/user/pictures/b2.png"));
    QVERIFY(Find<QTreeView>(gui_->main(), "CV_Links_Table")->rootIsDecorated());

    HistoryView& view = gui_->main().CV_Links_Table();
    view.setGroupHeader(1, "Группа 2 (новый заголовок)");
    view.setGroupSubtitle(1, "Изображений загружено: 2 из 3");
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Группа 2 (новый заголовок)"));
    QCOMPARE(model.index(1, 0).data(HistoryModel::SubtitleRole).toString(),
             QStringLiteral("Изображений загружено: 2 из 3"));
    QVERIFY(!(model.flags(model.index(1, 0)) & Qt::ItemIsSelectable));
  }

  void collapsedGroupStaysCollapsedWhenTheItemsAreRefilled() {
    QTreeView* tree = Find<QTreeView>(gui_->main(), "CV_Links_Table");
    HistoryModel& model = gui_->main().historyView().model();
    model.flush();
    tree->collapse(model.index(0, 0));
    FillHistoryView(gui_->ctx().main.CV_Links_Table(), gui_->ctx().history, false);
    model.flush();
    QVERIFY(!tree->isExpanded(model.index(0, 0)));
    QVERIFY(tree->isExpanded(model.index(1, 0)));
  }

  void menuBeforeAnySelection() {
    TCV_Main& m = gui_->main();
    for (MenuItem* item : {&m.N1(), &m.N6(), &m.N7(), &m.N11(), &m.N15()}) QVERIFY(!item->enabled());
    QVERIFY(!m.N15().visible());
    QCOMPARE(m.N12().tag(), 0);
  }

  void selectingARunItemFillsTheMenu() {
    TCV_Main& m = gui_->main();
    m.historyView().selectItem(3);  // b1
    QCOMPARE(m.CV_Links_Table().selectedItem(), std::optional<int>(3));
    for (MenuItem* item : {&m.N1(), &m.N6(), &m.N7(), &m.N11(), &m.N15()}) QVERIFY(item->enabled());
    QVERIFY(m.N15().visible());
    QCOMPARE(Q(m.N6().caption()), Q("Скопировать ссылку http://" + Host() + "/i-b1"));
    QCOMPARE(Q(m.N7().caption()), Q("Скопировать прямую ссылку http://i1." + Host() + "/b1.png"));
    QCOMPARE(Q(m.N15().caption()), QStringLiteral("Действие над группой — 2"));
    for (MenuItem* item : {&m.N12(), &m.N13(), &m.N14()}) QCOMPARE(item->tag(), 3);
    for (MenuItem* item : {&m.N16(), &m.N17(), &m.HTML1(), &m.BB1(), &m.N18(), &m.N21(), &m.N31()}) {
      QCOMPARE(item->tag(), 1);
    }

    m.historyView().clearSelection();
    for (MenuItem* item : {&m.N1(), &m.N6(), &m.N7(), &m.N11(), &m.N15()}) QVERIFY(!item->enabled());
    QVERIFY(!m.N15().visible());
    QCOMPARE(Q(m.N6().caption()), QStringLiteral("Скопировать ссылку"));
    QCOMPARE(Q(m.N15().caption()), QStringLiteral("Действие над группой"));
    QCOMPARE(m.N16().tag(), 0);
  }

  void groupActionsCopyTheGroupsTextsInUploadOrder_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    const QString h = Q(Host());
    QTest::newRow("page links") << 1 << "http://" + h + "/i-b0\r\nhttp://" + h + "/i-b1\r\nhttp://" + h + "/i-b2";
    QTest::newRow("full-view links") << 2 << "http://" + h + "/f-b0\r\nhttp://" + h + "/f-b1\r\nhttp://" + h + "/f-b2";
    QTest::newRow("BB codes") << 4
                              << "[url=http://" + h + "/f-b0][img]http://i1." + h + "/t.png[/img][/url]\r\n" +
                                     "[url=http://" + h + "/f-b1][img]http://i1." + h + "/t.png[/img][/url]\r\n" +
                                     "[url=http://" + h + "/f-b2][img]http://i1." + h + "/t.png[/img][/url]";
  }

  void groupActionsCopyTheGroupsTextsInUploadOrder() {
    QFETCH(int, kind);
    QFETCH(QString, expected);
    TCV_Main& m = gui_->main();
    m.historyView().selectItem(4);  // b2
    QtMenuItem* items[] = {nullptr, static_cast<QtMenuItem*>(&m.N16()), static_cast<QtMenuItem*>(&m.N17()),
                           static_cast<QtMenuItem*>(&m.HTML1()), static_cast<QtMenuItem*>(&m.BB1())};
    items[kind]->action()->trigger();
    QCOMPARE(Q(gui_->clipboard.text().value_or("")), expected);
  }

  void ownCodeItemsExpandTheTemplateForTheSelection() {
    TCV_Main& m = gui_->main();
    m.CVU_MYV2().setText("%FN% %P%");
    m.historyView().selectItem(1);
    static_cast<QtMenuItem&>(m.N13()).action()->trigger();
    QCOMPARE(Q(gui_->clipboard.text().value_or("")), Q("a1.png http://" + Host() + "/i-a1"));
  }

  void shortcutOnTheListCopiesTheLink() {
    TCV_Main& m = gui_->main();
    QTreeView* tree = Find<QTreeView>(m, "CV_Links_Table");
    m.historyView().selectItem(0);
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(Q(gui_->clipboard.text().value_or("")), Q("http://" + Host() + "/i-a0"));
    QCOMPARE(Q(gui_->logBodies().back()), Q("Ссылка \"http://" + Host() + "/i-a0\" скопирована"));
  }

  void ctrlCWithNothingSelectedLeavesTheClipboard() {
    TCV_Main& m = gui_->main();
    QTreeView* tree = Find<QTreeView>(m, "CV_Links_Table");
    m.historyView().selectItem(0);
    m.historyView().clearSelection();  // the row stays current, nothing is selected
    QVERIFY(tree->currentIndex().isValid());
    QVERIFY(!m.N6().enabled());
    QApplication::clipboard()->setText(QStringLiteral("before"));
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    QVERIFY(gui_->clipboard.history.empty());
  }

  void historyButtonSwitchesViews() {
    TCV_Main& m = gui_->main();
    QTest::mouseClick(Find<QPushButton>(m, "CVU_HistoryBtn"), Qt::LeftButton);
    QCOMPARE(Find<QPushButton>(m, "CVU_HistoryBtn")->text(), QStringLiteral("Последний запуск"));
    QVERIFY(gui_->ctx().history.FullHistoryShown);
    QVERIFY(!m.CV_Links_Table().groupView());
    QCOMPARE(m.CV_Links_Table().itemCount(), 2);
    HistoryModel& model = m.historyView().model();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("old1.jpg"));
    QCOMPARE(Q(gui_->logBodies().back()), QStringLiteral("Полная история загружена"));

    m.historyView().selectItem(1);
    QVERIFY(!m.N15().visible());
    QVERIFY(!m.N15().enabled());
    QCOMPARE(m.N16().tag(), 0);
    QCOMPARE(Q(m.N6().caption()), Q("Скопировать ссылку http://" + Host() + "/i-f1"));
    m.CVU_MYV1().setText("%P%");
    static_cast<QtMenuItem&>(m.N12()).action()->trigger();
    QCOMPARE(Q(gui_->clipboard.text().value_or("")), Q("http://" + Host() + "/i-f1"));

    QTest::mouseClick(Find<QPushButton>(m, "CVU_HistoryBtn"), Qt::LeftButton);
    QCOMPARE(Find<QPushButton>(m, "CVU_HistoryBtn")->text(), QStringLiteral("Полная история"));
    QVERIFY(m.CV_Links_Table().groupView());
    model.flush();
    QCOMPARE(model.rowCount(), 2);  // the two groups again
    QCOMPARE(Q(gui_->logBodies().back()), QStringLiteral("История сессии загружена"));
    QVERIFY(!m.N1().enabled());  // refilling dropped the selection
  }

  void fullViewReadsTheRecordsInPlace() {
    TCV_Main& m = gui_->main();
    auto& records = gui_->ctx().history.FullHistory;  // old0, old1 from the database
    for (int i = 0; i < 1000; ++i) {
      HistoryRecord r = RunRecord(std::string("c").append(std::to_string(i)), 0);
      r.base_file = "снимок " + std::to_string(i) + ".png";
      r.base_filefolder = "/home/анна/снимки/" + r.base_file;
      records.push_back(r);
    }
    QTest::mouseClick(Find<QPushButton>(m, "CVU_HistoryBtn"), Qt::LeftButton);
    HistoryModel& model = m.historyView().model();
    QCOMPARE(model.rowCount(), 1002);
    QCOMPARE(m.CV_Links_Table().itemCount(), 1002);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("old0.jpg"));
    QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("/old/old1.jpg"));
    QCOMPARE(model.index(502, 0).data().toString(), QStringLiteral("снимок 500.png"));
    QCOMPARE(model.index(502, 2).data(Qt::ToolTipRole).toString(), QStringLiteral("/home/анна/снимки/снимок 500.png"));
    QCOMPARE(model.index(1001, 0).data().toString(), QStringLiteral("снимок 999.png"));
    QCOMPARE(model.index(1001, 1).data().toString(), QStringLiteral("8 Декабрь 2026 г. 0:09:04"));
    QCOMPARE(model.index(1001, 2).data().toString(), QStringLiteral("/home/анна/снимки/снимок 999.png"));
    QVERIFY(!model.index(1002, 0).isValid());

    // Shown scrolled to the end: a click on the last row selects the last record.
    QTreeView* tree = Find<QTreeView>(m, "CV_Links_Table");
    QVERIFY(!tree->rootIsDecorated());
    const QRect last = tree->visualRect(model.index(1001, 0));
    QVERIFY(tree->viewport()->rect().contains(last));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, last.center());
    QCOMPARE(m.CV_Links_Table().selectedItem(), std::optional<int>(1001));
    QCOMPARE(m.N12().tag(), 1001);
    QCOMPARE(Q(m.N6().caption()), Q("Скопировать ссылку http://" + Host() + "/i-c999"));
    QCOMPARE(m.historyView().itemAtRow(tree->indexAt(last.center())), 1001);

    m.historyView().selectItem(502);
    QCOMPARE(m.CV_Links_Table().item(502).recordIndex, 502);
    QCOMPARE(Q(m.CV_Links_Table().item(502).caption), QStringLiteral("снимок 500.png"));
    QCOMPARE(Q(m.N7().caption()), Q("Скопировать прямую ссылку http://i1." + Host() + "/c500.png"));
    QVERIFY(!m.N15().visible());

    // Records dropped by a reload read as empty rows until the list is shown again.
    HistoryList kept;
    for (int i = 0; i < 2; ++i) kept.push_back(records.fields(i));
    records = std::move(kept);
    QCOMPARE(model.index(1001, 0).data().toString(), QString());
    FillHistoryView(gui_->ctx().main.CV_Links_Table(), gui_->ctx().history, true);
    QCOMPARE(model.rowCount(), 2);
  }

  void runViewAfterTheFullViewShowsTheGroupedItems() {
    TCV_Main& m = gui_->main();
    QPushButton* button = Find<QPushButton>(m, "CVU_HistoryBtn");
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    HistoryModel& model = m.historyView().model();
    model.flush();
    QCOMPARE(model.rowCount(), 2);
    QVERIFY(model.groupAt(model.index(1, 0)).has_value());
    QCOMPARE(model.rowCount(model.index(1, 0)), 3);
    QCOMPARE(model.index(2, 0, model.index(1, 0)).data().toString(), QStringLiteral("b2.png"));
    QVERIFY(Find<QTreeView>(m, "CV_Links_Table")->rootIsDecorated());
    m.historyView().selectItem(4);
    QCOMPARE(m.CV_Links_Table().item(4).groupId, 1);
    QCOMPARE(Q(m.N15().caption()), QStringLiteral("Действие над группой — 2"));
  }

  void doubleClickOpensTheLinksWindowForAnItemOnly() {
    TCV_Main& m = gui_->main();
    QTreeView* tree = Find<QTreeView>(m, "CV_Links_Table");
    HistoryModel& model = m.historyView().model();
    model.flush();
    const QRect header = tree->visualRect(model.index(0, 0));
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, header.center());
    QVERIFY(!gui_->program->links().isVisible());
    m.N1().setEnabled(true);
    static_cast<QtMenuItem&>(m.N1()).action()->trigger();  // nothing selected: nothing opens
    QVERIFY(!gui_->program->links().isVisible());

    const QRect row = tree->visualRect(model.indexOfItem(2));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, row.center());
    QVERIFY(gui_->program->links().isVisible());
    QCOMPARE(Q(gui_->program->links().field(1).text()), Q("http://" + Host() + "/i-b0"));
  }

 private:
  std::unique_ptr<GuiProgram> gui_;
};

QTEST_MAIN(HistoryPageTest)
#include "history_page_test.moc"
