// The stored history read off the UI thread: the window is up at once, and the list
// (and the full view, when shown) follows.
#include <QTest>

#include "gui_fixture.h"

using namespace cvu;
using cvu::test::GuiProgram;
using cvu::test::Q;

namespace {

const char* kRows =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
    "INSERT INTO CVU_HISTORY SELECT 'id' || i, 'i1', 'id' || i || '.png', '0', 'f' || i || '.png', "
    "'/p/f' || i || '.png', 'date' FROM n";

}  // namespace

class HistoryStartLoadTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    gui_ = std::make_unique<GuiProgram>(kRows);
    QVERIFY(gui_->program->start());  // not waiting for the history, as the fixture does
  }
  void cleanup() { gui_.reset(); }

  void historyArrivesAfterTheWindowShows() {
    QCOMPARE(gui_->ctx().history.FullHistory.count(), 0);
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QCOMPARE(gui_->ctx().history.FullHistory.count(), 3000);
    QCOMPARE(Q(gui_->ctx().history.FullHistory.at(2999).base_filefolder), QStringLiteral("/p/f3000.png"));
    QCOMPARE(gui_->main().CV_Links_Table().itemCount(), 0);  // the run view stays as it was
    QVERIFY(gui_->logBodies().empty());
  }

  void aShownFullViewIsRefilledWhenTheHistoryArrives() {
    gui_->ctx().history.FullHistoryShown = true;
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QVERIFY(gui_->ctx().history.FullHistoryShown);
    QCOMPARE(gui_->main().CV_Links_Table().itemCount(), 3000);
    QCOMPARE(Q(gui_->main().CV_Links_Table().item(0).caption), QStringLiteral("f1.png"));
  }

 private:
  std::unique_ptr<GuiProgram> gui_;
};

QTEST_MAIN(HistoryStartLoadTest)
#include "history_start_load_test.moc"
