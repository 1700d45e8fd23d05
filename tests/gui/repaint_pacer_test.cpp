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

}  // namespace

class RepaintPacerTest : public QObject {
  Q_OBJECT

 private slots:
  void aBurstOfChangesIsDrawnInFewRepaintsEndingWithTheLast() {
    Counter window;
    window.resize(100, 50);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
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
    window.resize(100, 50);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    RepaintPacer pacer(window, 60);
    QTest::qWait(100);
    window.value = 7;
    window.update();
    QCoreApplication::processEvents();
    QCOMPARE(window.painted, 7);  // quiet before: drawn at once

    window.value = 8;
    window.update();
    QCoreApplication::processEvents();
    QCOMPARE(window.painted, 7);  // within the interval: held back
    QTRY_COMPARE_WITH_TIMEOUT(window.painted, 8, 1000);
  }
};

QTEST_MAIN(RepaintPacerTest)
#include "repaint_pacer_test.moc"
