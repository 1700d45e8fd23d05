// The start as the program makes it: the main window is painted first; its icon, the
// links, big-log and upload options windows and the background work follow. A handler
// that needs one of those windows sooner gets it, and a window that is never painted
// still gets the rest after a moment.
#include <QEvent>
#include <QTest>
#include <QWidget>

#include "app/cv_main.h"
#include "gui_fixture.h"

using namespace cvu;
using cvu::test::GuiProgram;

namespace {

// Counts the paint events of the window it watches.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& window) { window.installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

bool HasWindow(QWidget& main, const char* name) {
  return main.findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly) != nullptr;
}

}  // namespace

class FirstPaintStartTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    gui_ = std::make_unique<GuiProgram>();
    gui_->program->deferToFirstPaint();
    QVERIFY(gui_->start());
  }
  void cleanup() { gui_.reset(); }

  void theOtherWindowsAndTheIconFollowThePainting() {
    QVERIFY(!HasWindow(gui_->main(), "CV_Links"));
    QVERIFY(!HasWindow(gui_->main(), "CV_BigLog"));
    QVERIFY(!HasWindow(gui_->main(), "CV_UpOptions"));
    QVERIFY(gui_->ctx().upOptions == nullptr);
    QVERIFY(gui_->main().windowIcon().isNull());
    gui_->ctx().log.AddLogLine("Запуск", "");  // logged before the big log exists

    PaintCounter counter(gui_->main());
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QVERIFY(counter.paints > 0);
    for (const char* name : {"CV_Links", "CV_BigLog", "CV_UpOptions"}) QVERIFY2(HasWindow(gui_->main(), name), name);
    QVERIFY(gui_->ctx().upOptions != nullptr);
    QVERIFY(!gui_->main().windowIcon().isNull());
    // The big log has the line logged before it was built.
    ListBox& bigLog = gui_->program->bigLog().CVU_BigLog();
    QVERIFY(bigLog.count() > 0);
    QVERIFY(bigLog.line(bigLog.count() - 1).find("Запуск") != std::string::npos);
  }

  void aHandlerBeforeThePaintingBuildsTheWindowItOpens() {
    QVERIFY(!HasWindow(gui_->main(), "CV_UpOptions"));
    gui_->main().CVU_EffBtnClick();
    QVERIFY(HasWindow(gui_->main(), "CV_UpOptions"));
    QVERIFY(gui_->program->upOptions().isVisible());
    QVERIFY(gui_->ctx().upOptions == &gui_->program->upOptions());
    // Built once: the painting that follows keeps the same windows.
    TCV_UpOptions* const built = &gui_->program->upOptions();
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QCOMPARE(&gui_->program->upOptions(), built);
    QCOMPARE(gui_->main().findChildren<QWidget*>(QStringLiteral("CV_UpOptions")).size(), 1);
  }

  void aWindowNeverPaintedGetsTheRestAfterAMoment() {
    gui_->main().setUpdatesEnabled(false);  // shown, but never painted
    PaintCounter counter(gui_->main());
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QCOMPARE(counter.paints, 0);
    QVERIFY(HasWindow(gui_->main(), "CV_Links"));
    QVERIFY(!gui_->main().windowIcon().isNull());
  }

 private:
  std::unique_ptr<GuiProgram> gui_;
};

QTEST_MAIN(FirstPaintStartTest)
#include "first_paint_start_test.moc"
