// The Qt implementations of the core's desktop interfaces and the history model.
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTreeView>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "app/history_model.h"
#include "app/qt_clipboard.h"
#include "app/qt_controls.h"
#include "app/qt_dialogs.h"
#include "app/qt_log_list.h"
#include "app/qt_ui_thread.h"
#include "gui_fixture.h"

using namespace cvu;
using cvu::test::Q;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  using QObject::QObject;
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The rows a view sees: group rows with their items' captions and item indexes, lone
// items after them.
QString Layout(const HistoryModel& model) {
  QString out;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex top = model.index(row, 0);
    if (!model.groupAt(top)) {
      out += " " + top.data().toString() + "/" + QString::number(model.itemAt(top));
      continue;
    }
    out += "[" + top.data().toString() + ":";
    for (int c = 0; c < model.rowCount(top); ++c) {
      const QModelIndex child = model.index(c, 0, top);
      out += " " + child.data().toString() + "/" + QString::number(model.itemAt(child));
    }
    out += "]";
  }
  return out;
}

}  // namespace

class QtAdaptersTest : public QObject {
  Q_OBJECT

 private slots:
  void postsFromAnotherThreadRunInOrderOnTheGuiThread() {
    QtUiThread ui;
    std::vector<int> order;
    std::atomic<bool> wrongThread{false};
    std::thread worker([&] {
      for (int i = 0; i < 200; ++i) {
        ui.post([&, i] {
          if (QThread::currentThread() != qApp->thread()) wrongThread = true;
          order.push_back(i);
        });
      }
    });
    worker.join();
    QTRY_COMPARE(order.size(), std::size_t{200});
    for (int i = 0; i < 200; ++i) QCOMPARE(order[static_cast<std::size_t>(i)], i);
    QVERIFY(!wrongThread);
  }

  void invokeWaitsAndCarriesExceptionsBack() {
    QtUiThread ui;
    QVERIFY(ui.isUiThread());
    std::atomic<bool> done{false};
    std::atomic<bool> ranOnGui{false};
    std::atomic<bool> caught{false};
    std::atomic<bool> sawUiThread{true};
    std::thread worker([&] {
      sawUiThread = ui.isUiThread();
      ui.invoke([&] { ranOnGui = QThread::currentThread() == qApp->thread(); });
      try {
        ui.invoke([] { throw std::runtime_error("no clipboard"); });
      } catch (const std::runtime_error& e) {
        caught = std::string(e.what()) == "no clipboard";
      }
      done = true;
    });
    QTRY_VERIFY(done);
    worker.join();
    QVERIFY(ranOnGui);
    QVERIFY(caught);
    QVERIFY(!sawUiThread);
    bool direct = false;
    ui.invoke([&] { direct = true; });  // on the GUI thread: at once
    QVERIFY(direct);
  }

  void errorEscapingAPostedCallIsReported() {
    std::vector<std::string> reported;
    QtUiThread ui([&](const std::string& text) { reported.push_back(text); });
    int after = 0;
    ui.post([] { throw std::runtime_error("сбой"); });
    ui.post([&] { ++after; });
    QTRY_COMPARE(after, 1);
    QCOMPARE(reported.size(), std::size_t{1});
    QCOMPARE(Q(reported[0]), QStringLiteral("сбой"));
  }

  void memoLineBreaksReadAsCrLf() {
    QPlainTextEdit edit;
    QtMemoText memo(&edit);
    memo.setText("a\r\nb\r\n\r\nc");
    QCOMPARE(edit.toPlainText(), QStringLiteral("a\nb\n\nc"));
    QCOMPARE(Q(memo.text()), QStringLiteral("a\r\nb\r\n\r\nc"));
  }

  void comboOutsideItsItemsSelectsNothing() {
    QComboBox combo;
    QtComboBox box(&combo);
    box.setItems({"a", "b"});
    QCOMPARE(box.itemIndex(), -1);
    box.setItemIndex(1);
    QCOMPARE(box.itemIndex(), 1);
    box.setItemIndex(9);
    QCOMPARE(box.itemIndex(), -1);
    QtValueComboBox values(&combo);
    values.setEntries({{"Нет альбома", "0"}, {"Лето", "17"}});
    values.setItemIndex(1);
    QCOMPARE(Q(values.itemValue(1)), QStringLiteral("17"));
    QCOMPARE(Q(values.itemText(0)), QStringLiteral("Нет альбома"));
  }

  void progressBarKeepsItsRangeAndNeverTurnsBusy() {
    QProgressBar widget;
    QtProgressBar bar(&widget);
    bar.setRange(0, 6);
    bar.setPosition(4);
    QCOMPARE(bar.position(), 4);
    bar.setPosition(10);
    QCOMPARE(bar.position(), 6);
    bar.setRange(0, 0);  // the empty bar at a group's end
    bar.setPosition(0);
    QCOMPARE(bar.maximum(), 0);
    QCOMPARE(bar.position(), 0);
    QVERIFY(widget.maximum() > widget.minimum());  // not a busy indicator
    QProgressBar busyWidget;
    QtProgressBar marquee(&busyWidget, true);
    marquee.setRange(0, 100);
    QCOMPARE(busyWidget.maximum(), 0);
  }

  // An upload moves the bars hundreds of times a second: the value is read back at once,
  // the widget is painted later, not once per value.
  void progressBarPaintsABurstOfPositionsLater() {
    QProgressBar widget;
    widget.resize(300, 20);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QtProgressBar bar(&widget);
    bar.setRange(0, 300);
    bar.setPosition(1);
    QCOMPARE(widget.value(), 1);  // a lone change reaches the widget at once
    QTest::qWait(50);
    PaintCounter counter;
    widget.installEventFilter(&counter);
    for (int position = 2; position <= 300; ++position) bar.setPosition(position);
    QCOMPARE(bar.position(), 300);
    QCOMPARE(counter.paints, 0);
    QTRY_COMPARE(widget.value(), 300);
    QTRY_VERIFY(counter.paints > 0);
    bar.setRange(0, 0);  // the group's end empties the bar at once
    QCOMPARE(bar.position(), 0);
    QCOMPARE(widget.value(), 0);
  }

  // The log list: every line is there when addLine returns; the list shows its end once
  // the event loop has run.
  void listBoxTakesLinesAtOnceAndScrollsToTheEndLater() {
    QListWidget widget;
    widget.resize(200, 60);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QtListBox list(&widget);
    for (int i = 0; i < 500; ++i) list.addLine("строка " + std::to_string(i));
    QCOMPARE(list.count(), 500);
    QCOMPARE(widget.count(), 500);
    QCOMPARE(Q(list.line(499)), QStringLiteral("строка 499"));
    QScrollBar* scroll = widget.verticalScrollBar();
    QTRY_VERIFY(scroll->maximum() > 0 && scroll->value() == scroll->maximum());
    QVERIFY(widget.viewport()->rect().intersects(widget.visualItemRect(widget.item(499))));
    list.addLine("последняя");
    QTRY_VERIFY(widget.viewport()->rect().intersects(widget.visualItemRect(widget.item(500))));
  }

  // A log list takes its lines into the view in batches, by itself; read through the
  // list, the lines waiting for their batch are there, in order, and can be selected,
  // removed or cleared. The second list shows the same lines and keeps them when the
  // first is cleared.
  void logListsTakeLinesInBatchesAndShowTheEnd() {
    LogLineStore store;
    QListView view, bigView;
    view.resize(200, 60);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QtLogList list(&view, store, kLogBatchMs), big(&bigView, store, kLogBatchMs);
    for (int i = 0; i < 50; ++i) {
      list.addLine("строка " + std::to_string(i));
      big.addLine("строка " + std::to_string(i));
    }
    QCOMPARE(view.model()->rowCount(), 0);  // the batch is not due yet
    QTRY_COMPARE(view.model()->rowCount(), 50);
    QTRY_VERIFY(view.viewport()->rect().intersects(view.visualRect(view.model()->index(49, 0))));
    QCOMPARE(view.model()->index(49, 0).data().toString(), QStringLiteral("строка 49"));

    list.addLine("ждёт");
    list.addLine("тоже ждёт");
    QCOMPARE(list.count(), 52);
    QCOMPARE(Q(list.line(51)), QStringLiteral("тоже ждёт"));
    list.setSelected(50, true);
    QVERIFY(list.isSelected(50));
    QVERIFY(!big.isSelected(49));
    list.removeLine(0);
    QCOMPARE(Q(list.line(0)), QStringLiteral("строка 1"));
    QCOMPARE(list.count(), 51);

    list.addLine("не покажется");
    list.clear();
    QCOMPARE(list.count(), 0);
    QTest::qWait(3 * kLogBatchMs);
    QCOMPARE(view.model()->rowCount(), 0);

    for (const char* line : {"ждёт", "тоже ждёт", "не покажется", "после"}) big.addLine(line);
    list.addLine("после");
    QCOMPARE(big.count(), 54);
    QCOMPARE(Q(big.line(0)), QStringLiteral("строка 0"));
    QCOMPARE(Q(big.line(53)), QStringLiteral("после"));
    QCOMPARE(Q(list.line(0)), QStringLiteral("после"));
    QCOMPARE(list.count(), 1);
  }

  void listBoxRemovesALineKeepingTheOthersSelection() {
    QListWidget widget;
    QtListBox list(&widget, true);
    for (const char* line : {"/a.jpg", "/b.jpg", "/c.jpg"}) list.addLine(line);
    list.setSelected(2, true);
    list.removeLine(0);
    QCOMPARE(list.count(), 2);
    QCOMPARE(Q(list.line(0)), QStringLiteral("/b.jpg"));
    QVERIFY(list.isSelected(1));
    QVERIFY(!list.isSelected(0));
    QCOMPARE(widget.item(0)->toolTip(), QStringLiteral("/b.jpg"));
  }

  void fileFilterInQtForm() {
    QCOMPARE(QtFileFilter("Images|*.jpg;*.jpeg;*.png|All|*.*"),
             QStringLiteral("Images (*.jpg *.jpeg *.png);;All (*.*)"));
    QCOMPARE(QtFileFilter("Log TXT|*.txt"), QStringLiteral("Log TXT (*.txt)"));
  }

  void clipboardHoldsTheText() {
    QtClipboard clipboard;
    clipboard.setText("[url=http://h/f-1]Ссылка[/url]");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("[url=http://h/f-1]Ссылка[/url]"));
  }

  void modelPutsLoneItemsAfterTheGroupsAndHidesEmptyGroups() {
    HistoryModel model;
    model.addGroup(5, "Группа 6");
    model.addGroup(7, "Группа 8");  // no items: not shown
    for (int group : {5, -1, 5}) model.addItem(HistoryItem{"x", "d", "p", 0, group});
    model.flush();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.groupAt(model.index(0, 0)), std::optional<int>(5));
    QCOMPARE(model.rowCount(model.index(0, 0)), 2);
    QCOMPARE(model.itemAt(model.index(1, 0)), 1);
    QCOMPARE(model.itemAt(model.index(1, 0, model.index(0, 0))), 2);
    QCOMPARE(model.indexOfItem(2), model.index(1, 0, model.index(0, 0)));
    model.setGrouped(false);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.itemAt(model.index(2, 0)), 2);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
  }

  void modelAppendsShowTheLayoutOfAFreshFill() {
    // Items arrive one by one (a new group, lone items, the flat view between) with the
    // layout shown after each; the result must equal one fill of the same items.
    const std::vector<HistoryItem> items = {
        {"a0", "d0", "p0", 0, 0}, {"a1", "d1", "p1", 1, 0}, {"l2", "d2", "p2", 2, -1},
        {"a3", "d3", "p3", 3, 0}, {"b4", "d4", "p4", 4, 1}, {"a5", "d5", "p5", 5, 0},
        {"l6", "d6", "p6", 6, 9}, {"b7", "d7", "p7", 7, 1}, {"c8", "d8", "p8", 8, 2}};
    HistoryModel model;
    QTreeView tree;
    tree.setModel(&model);
    model.addGroup(0, "Группа 1");
    model.addGroup(2, "Группа 3");  // its first item comes last
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i == 4) model.addGroup(1, "Группа 2");
      if (i == 6) model.setGrouped(false);
      if (i == 7) model.setGrouped(true);
      model.addItem(items[i]);
      model.flush();
      HistoryModel fresh;
      fresh.setGrouped(model.grouped());
      fresh.addGroup(0, "Группа 1");
      fresh.addGroup(2, "Группа 3");
      if (i >= 4) fresh.addGroup(1, "Группа 2");
      for (std::size_t k = 0; k <= i; ++k) fresh.addItem(items[k]);
      fresh.flush();
      QCOMPARE(Layout(model), Layout(fresh));
    }
    QCOMPARE(Layout(model),
             QStringLiteral("[Группа 1: a0/0 a1/1 a3/3 a5/5][Группа 3: c8/8][Группа 2: b4/4 b7/7] l2/2 l6/6"));
    // Appends to shown groups, lone items and the flat view are inserted rows; a new
    // group, the first item of a group and the view switches reset the model.
    QCOMPARE(inserts.count(), 6);
    QCOMPARE(resets.count(), 5);
  }

  void modelShowsAddedItemsFromTheEventLoop() {
    HistoryModel model;
    model.setGrouped(false);
    model.addItem(HistoryItem{"x", "d", "p", 0, -1});
    QCOMPARE(model.itemCount(), 1);
    QCOMPARE(model.rowCount(), 0);  // not yet shown
    QTRY_COMPARE(model.rowCount(), 1);
  }
};

QTEST_MAIN(QtAdaptersTest)
#include "qt_adapters_test.moc"
