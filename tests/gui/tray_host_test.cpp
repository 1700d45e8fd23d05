// The main window with a real notification area, on an X display of the test's own: a
// small notification-area host the test starts and stops. Minimizing hides the window
// only while the icon is in a notification area; one that comes later gets the icon.
#include <QApplication>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "gui_fixture.h"
#include "x_tray_host.h"

using cvu::test::GuiProgram;
using cvu::test::TrayHost;
using cvu::test::Xvfb;

namespace {

// The texts of the notification-area message on the screen (Qt draws it itself next to
// an XEmbed icon).
QStringList NotificationTexts() {
  QStringList texts;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || QString::fromLatin1(w->metaObject()->className()) != QStringLiteral("QBalloonTip")) continue;
    for (const QLabel* label : w->findChildren<QLabel*>()) texts << label->text();
  }
  return texts;
}

std::string& DisplayName() {
  static std::string name;
  return name;
}

}  // namespace

class TrayHostTest : public QObject {
  Q_OBJECT

 private slots:
  void minimizingHidesTheWindowOnlyWhileTheIconIsInANotificationAreaWhereTheGroupsEndIsTold() {
    auto host = std::make_unique<TrayHost>(DisplayName());
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().trayIconShown(), 10000);
    gui.main().showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().isHidden(), 5000);  // away in the notification area
    // The end of a group is told there, with what was and was not uploaded.
    gui.main().groupEnded(5, 3);
    QTRY_VERIFY_WITH_TIMEOUT(!NotificationTexts().isEmpty(), 5000);
    const QString told = NotificationTexts().join('|');
    QVERIFY2(told.contains(QStringLiteral("Изображения загружены")), qPrintable(told));
    QVERIFY2(told.contains(QStringLiteral("Загружено изображений: 3 из 5")), qPrintable(told));
    QVERIFY2(told.contains(QStringLiteral("Не загружено изображений: 2")), qPrintable(told));
    gui.main().restoreFromTray();
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().isVisible() && !gui.main().isMinimized(), 5000);

    host.reset();  // the panel goes away
    QTRY_VERIFY_WITH_TIMEOUT(!gui.main().trayIconShown(), 10000);
    gui.main().showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().isMinimized(), 5000);
    QTest::qWait(200);
    QVERIFY2(gui.main().isVisible(), "minimized without a notification area, the window must keep its place");

    // A panel that comes back takes the icon again.
    host = std::make_unique<TrayHost>(DisplayName());
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().trayIconShown(), 10000);
  }
};

int main(int argc, char** argv) {
  try {
    const Xvfb xvfb;
    DisplayName() = xvfb.display();
    setenv("DISPLAY", xvfb.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");  // the XEmbed notification area, not a session bus's
    QApplication app(argc, argv);
    TrayHostTest test;
    return QTest::qExec(&test, argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

#include "tray_host_test.moc"
