// The start as the program makes it: the main window is painted first; its icon, the
// profile page, the links, big-log and upload options windows and the background work
// follow. A handler that needs one of those sooner gets it, and a window that is never
// painted still gets the rest after a moment. Built late, the profile page ends up as
// it would have been built at once.
#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

#include "app/cv_main.h"
#include "gui_fixture.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;
using cvu::test::Q;

namespace {

// The settings away from their defaults, the automatic upload with its second box
// enabled; no saved login, which would start one.
const char* kSettings =
    "INSERT INTO CVU_DATA VALUES('', '7', 'anna', 'pw', 0, 0, 'one', 'two' || char(13, 10) || 'lines', '', 1, 0, 1, "
    "1, 1, 2, 1);";

QWidget* ProfilePage(TCV_Main& main) { return Find<QTabWidget>(main, "CV_AOPager")->widget(2); }

// What the user can see of each widget of a page, in the order of the widget tree.
QStringList StateOf(QWidget* page) {
  QStringList state;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    QString line = w->objectName() + ' ' + w->metaObject()->className() + (w->isEnabled() ? " on" : " off") +
                   (w->isHidden() ? " hidden" : "");
    if (auto* button = qobject_cast<QAbstractButton*>(w))
      line += ' ' + button->text() + (button->isChecked() ? " [x]" : "");
    if (auto* edit = qobject_cast<QLineEdit*>(w)) line += " '" + edit->text() + "'";
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) line += " '" + memo->toPlainText() + "'";
    if (auto* label = qobject_cast<QLabel*>(w))
      line += ' ' + label->text() + ' ' + label->palette().color(label->foregroundRole()).name();
    if (auto* combo = qobject_cast<QComboBox*>(w))
      line += QStringLiteral(" %1 of %2").arg(combo->currentIndex()).arg(combo->count());
    if (auto* bar = qobject_cast<QProgressBar*>(w))
      line += QStringLiteral(" %1..%2").arg(bar->minimum()).arg(bar->maximum());
    state << line;
  }
  return state;
}

// The widgets the Tab key reaches, in its order.
QStringList TabOrder(QWidget& window) {
  QStringList order;
  for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
    if (w->focusPolicy() & Qt::TabFocus) order << w->objectName() + ' ' + w->metaObject()->className();
  }
  return order;
}

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
    gui_ = std::make_unique<GuiProgram>(kSettings);
    gui_->program->deferToFirstPaint();
    QVERIFY(gui_->start());
  }
  void cleanup() { gui_.reset(); }

  void theOtherWindowsFollowThePaintingTheIconPrecedesIt() {
    QVERIFY(!HasWindow(gui_->main(), "CV_Links"));
    QVERIFY(!HasWindow(gui_->main(), "CV_BigLog"));
    QVERIFY(!HasWindow(gui_->main(), "CV_UpOptions"));
    QVERIFY(gui_->ctx().upOptions == nullptr);
    QVERIFY(!gui_->main().windowIcon().isNull());  // the desktop has it when the window is mapped
    gui_->ctx().log.AddLogLine("Запуск", "");      // logged before the big log exists

    PaintCounter counter(gui_->main());
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QVERIFY(counter.paints > 0);
    for (const char* name : {"CV_Links", "CV_BigLog", "CV_UpOptions"}) QVERIFY2(HasWindow(gui_->main(), name), name);
    QVERIFY(gui_->ctx().upOptions != nullptr);
    // The windows built late carry the same icon.
    const qint64 icon = gui_->main().windowIcon().cacheKey();
    for (const char* name : {"CV_Links", "CV_BigLog", "CV_UpOptions"}) {
      QCOMPARE(gui_->main().findChild<QWidget*>(QLatin1String(name))->windowIcon().cacheKey(), icon);
    }
    // The big log has the line logged before it was built.
    ListBox& bigLog = gui_->program->bigLog().CVU_BigLog();
    bool found = false;
    for (int i = 0; i < bigLog.count(); ++i) found = found || bigLog.line(i).find("Запуск") != std::string::npos;
    QVERIFY(found);
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

  void theProfilePageBuiltLateIsAsIfBuiltAtOnce() {
    QVERIFY(gui_->main().findChild<QWidget*>(QStringLiteral("CVU_UserName")) == nullptr);
    gui_->main().CVU_AuthLabel().setText("written before the page");
    gui_->program->show();
    QTRY_VERIFY_WITH_TIMEOUT(!gui_->program->historyPending(), 20000);
    QVERIFY(gui_->main().findChild<QWidget*>(QStringLiteral("CVU_UserName")) != nullptr);

    GuiProgram atOnce(kSettings);
    QVERIFY(atOnce.startAndShow());
    atOnce.main().CVU_AuthLabel().setText("written before the page");
    QCOMPARE(StateOf(ProfilePage(gui_->main())), StateOf(ProfilePage(atOnce.main())));
    QVERIFY(StateOf(ProfilePage(atOnce.main())).join('|').contains(QStringLiteral("'two\nlines'")));
    QCOMPARE(TabOrder(gui_->main()), TabOrder(atOnce.main()));
    // The page keeps its place: the Tab key leaves its last field for the log below it.
    const QStringList order = TabOrder(gui_->main());
    const auto at = [&order](const char* name) {
      for (int i = 0; i < order.size(); ++i) {
        if (order[i].startsWith(QLatin1String(name) + ' ')) return i;
      }
      return -1;
    };
    QVERIFY(at("CVU_UserName") >= 0);
    QVERIFY(at("CVU_MyCodeSaveBtn") < at("CVU_LOGLIST"));
    QVERIFY(at("CVU_OpenFilesBtn") < at("CVU_OptionsList"));
  }

  void readingAProfileControlBuildsThePage() {
    QVERIFY(gui_->main().findChild<QWidget*>(QStringLiteral("CVU_UserName")) == nullptr);
    QCOMPARE(Q(gui_->main().CVU_MYV2().text()), QStringLiteral("two\r\nlines"));
    QCOMPARE(Find<QPlainTextEdit>(gui_->main(), "CVU_MYV2")->toPlainText(), QStringLiteral("two\nlines"));
    QVERIFY(gui_->main().CVU_StartAutoUpload().enabled());
    QCOMPARE(gui_->main().CVU_AutoAction().itemIndex(), 2);
    // Once built, writes reach the widgets at once.
    gui_->main().CVU_UserSave().setChecked(true);
    QVERIFY(Find<QAbstractButton>(gui_->main(), "CVU_UserSave")->isChecked());
  }

  void showingTheProfileTabBuildsThePage() {
    QVERIFY(gui_->main().findChild<QWidget*>(QStringLiteral("CVU_OptionsList")) == nullptr);
    Find<QTabWidget>(gui_->main(), "CV_AOPager")->setCurrentIndex(2);
    QVERIFY(gui_->main().findChild<QWidget*>(QStringLiteral("CVU_OptionsList")) != nullptr);
    QVERIFY(Find<QAbstractButton>(gui_->main(), "CVU_ConfirmDelete")->isChecked());
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
