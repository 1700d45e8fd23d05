// A restored window position: kept exactly while the window can be reached on some
// screen, moved onto the nearest screen when it cannot.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "app/window_placement.h"

using namespace cvu;

namespace {

const QSize kWindow(600, 530);
const QRect kPrimary(0, 0, 1920, 1040);         // a task bar along the bottom
const QRect kRight(1920, 0, 1280, 1024);        // a second monitor to the right
const QRect kSmallAbove(200, -768, 1024, 768);  // one above the primary

QRect At(int left, int top) { return QRect(QPoint(left, top), kWindow); }

}  // namespace

class WindowPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void placement_data() {
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("expected");
    const QList<QRect> two = {kPrimary, kRight};
    QTest::newRow("inside the primary") << At(300, 200) << two << QPoint(300, 200);
    QTest::newRow("on the second monitor") << At(2500, 300) << two << QPoint(2500, 300);
    QTest::newRow("across both monitors") << At(1700, 100) << two << QPoint(1700, 100);
    QTest::newRow("partly off the right edge, grip on screen")
        << At(1800, 100) << QList<QRect>{kPrimary} << QPoint(1800, 100);
    QTest::newRow("grip exactly 100 wide on screen") << At(1820, 100) << QList<QRect>{kPrimary} << QPoint(1820, 100);
    QTest::newRow("grip 99 wide on screen") << At(1821, 100) << QList<QRect>{kPrimary} << QPoint(1320, 100);
    QTest::newRow("second monitor removed") << At(2500, 300) << QList<QRect>{kPrimary} << QPoint(1320, 300);
    QTest::newRow("below the task bar's edge") << At(300, 1030) << QList<QRect>{kPrimary} << QPoint(300, 510);
    QTest::newRow("title bar above the top") << At(300, -10) << QList<QRect>{kPrimary} << QPoint(300, 0);
    QTest::newRow("far right and below") << At(9000, 5000) << two << QPoint(2600, 494);
    QTest::newRow("nearest is the screen above")
        << At(400, -2000) << QList<QRect>{kPrimary, kSmallAbove} << QPoint(400, -768);
    QTest::newRow("on the screen above") << At(400, -700) << QList<QRect>{kPrimary, kSmallAbove} << QPoint(400, -700);
    QTest::newRow("screen smaller than the window")
        << At(3000, 3000) << QList<QRect>{QRect(0, 0, 500, 400)} << QPoint(0, 0);
    QTest::newRow("no screens known") << At(9000, 9000) << QList<QRect>{} << QPoint(9000, 9000);
  }

  void placement() {
    QFETCH(QRect, window);
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, expected);
    const QPoint placed = ReachablePosition(window, std::vector<QRect>(screens.begin(), screens.end()));
    QCOMPARE(placed, expected);
    if (!screens.isEmpty() && window.width() <= screens.first().width()) {
      bool reachable = false;
      for (const QRect& area : screens) reachable |= area.intersects(QRect(placed, window.size()));
      QVERIFY(reachable);
    }
  }

  // Applied where the window is placed: on the real (offscreen) screen.
  void windowIsMovedOntoTheScreen() {
    QWidget window;
    window.resize(300, 200);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    MoveWithinReach(&window, area.right() + 5000, area.top() + 10);
    QCOMPARE(window.pos(), QPoint(area.right() + 1 - window.frameGeometry().width(), area.top() + 10));
    MoveWithinReach(&window, area.left() + 20, area.top() + 30);
    QCOMPARE(window.pos(), QPoint(area.left() + 20, area.top() + 30));
  }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
