// The program's font: Tahoma 8 pt, loaded from the Windows-compatibility font package
// when the desktop has no Tahoma of its own; the platform's font only without either.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include "app/app_font.h"
#include "gui_fixture.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;

class AppFontTest : public QObject {
  Q_OBJECT

 private slots:
  // First, while nothing has been loaded yet.
  void withoutAFontFileThePlatformFontServes() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) QSKIP("the desktop has a Tahoma of its own");
    QVERIFY(!EnsureTahoma({QStringLiteral("/nonexistent/tahoma.ttf")}));
    const QFont font = ProgramFont();
    QCOMPARE(font.family(), QGuiApplication::font().family());
    QCOMPARE(font.pointSize(), 8);
  }

  void aFileOfAnotherFamilyIsNotTaken() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) QSKIP("the desktop has a Tahoma of its own");
    const QString other = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!QFile::exists(other)) QSKIP("no DejaVu Sans file");
    QVERIFY(!EnsureTahoma({other}));
    QVERIFY(!QFontDatabase::hasFamily(QStringLiteral("Tahoma")));
  }

  void tahomaWithCyrillicIsLoaded() {
    QVERIFY2(EnsureTahoma(), "no Tahoma: install fonts-wine");
    QVERIFY(QFontDatabase::writingSystems(QStringLiteral("Tahoma")).contains(QFontDatabase::Cyrillic));
    QVERIFY(QFontDatabase::styles(QStringLiteral("Tahoma")).contains(QStringLiteral("Bold")));
    const QFont font = ProgramFont();
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    QCOMPARE(font.pointSize(), 8);
  }

  void theWindowsUseItAndTheLongestOptionFits() {
    QVERIFY(EnsureTahoma());
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QCOMPARE(QFontInfo(gui.main().font()).family(), QStringLiteral("Tahoma"));
    QCOMPARE(QFontInfo(gui.program->links().font()).family(), QStringLiteral("Tahoma"));
    Find<QTabWidget>(gui.main(), "CV_AOPager")->setCurrentIndex(2);
    QApplication::processEvents();
    QCheckBox* longest = Find<QCheckBox>(gui.main(), "CVU_SendAnonymous");
    QVERIFY(longest->sizeHint().width() <= longest->width());
  }
};

QTEST_MAIN(AppFontTest)
#include "app_font_test.moc"
