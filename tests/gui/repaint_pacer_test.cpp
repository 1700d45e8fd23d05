// The repaint pacer: a burst of changes is drawn in few repaints, and the last change
// is always drawn.
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>

#include "app/repaint_pacer.h"

using namespace cvu;

namespace {

// Remembers what it showed at its last painting.
class Counter : public QWidget {
 public:
  int value = 0;
  int painted = -1;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override {
    painted = value;
    ++paints;
  }
};

// A small window on the screen, ready to be painted.
bool ShowSmall(QWidget& window) {
  window.resize(100, 50);
  window.show();
  return QTest::qWaitForWindowExposed(&window);
}

}  // namespace

class RepaintPacerTest : public QObject {
  Q_OBJECT

 private slots:
  void aBurstOfChangesIsDrawnInFewRepaintsEndingWithTheLast() {
    Counter window;
    QVERIFY(ShowSmall(window));
    RepaintPacer pacer(window, 20);
    QTest::qWait(30);
    const int paintsBefore = window.paints;

    QElapsedTimer burst;
    burst.start();
    for (int i = 1; i <= 300; ++i) {
      window.value = i;
      window.update();
      QCoreApplication::processEvents();
      if (i % 30 == 0) QTest::qWait(3);  // a burst that lasts a while, as an upload does
    }
    const qint64 burstMs = burst.elapsed();
    QTRY_COMPARE(window.painted, 300);

    const int paints = window.paints - paintsBefore;
    QVERIFY2(paints <= burstMs / 20 + 3,
             qPrintable(QString("%1 repaints in %2 ms").arg(paints).arg(burstMs)));
  }

  void aChangeAfterAQuietSpellIsDrawnAtOnceAndTheNextOneAtTheTick() {
    Counter window;
    QVERIFY(ShowSmall(window));
    RepaintPacer pacer(window, 200);
    const auto change = [&window](int value) {
      window.value = value;
      window.update();
      QCoreApplication::processEvents();
    };
    change(7);
    QCOMPARE(window.painted, 7);
    QTest::qWait(300);
    change(8);
    QCOMPARE(window.painted, 8);  // quiet before: drawn at once
    change(9);
    QCOMPARE(window.painted, 8);  // within the interval: held back
    QTRY_COMPARE_WITH_TIMEOUT(window.painted, 9, 2000);
  }
};

QTEST_MAIN(RepaintPacerTest)
#include "repaint_pacer_test.moc"
