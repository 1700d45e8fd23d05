// The main window: initial states, menus, the option tree, the settings it writes,
// its position, its start-up and end, and the log menu.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <atomic>

#include "common/cp1251.h"
#include "common/identity.h"
#include "gui_fixture.h"
#include "headless/headless_controls.h"
#include "support/test_server.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;
using cvu::test::Q;

namespace {

QStringList ActionTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

// Every entry of a menu and its submenus with its shortcut, "text=shortcut".
QStringList Shortcuts(const QMenu* menu) {
  QStringList all;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    all << action->text() + "=" + action->shortcut().toString();
    if (action->menu() != nullptr) all << Shortcuts(action->menu());
  }
  return all;
}

void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

QPoint CentredPosition(const QWidget& window) {
  const QRect area = window.screen()->availableGeometry();
  return {area.center().x() - window.width() / 2 + 1, area.center().y() - window.height() / 2 + 1};
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The own-code sheet's placeholder list is grey, its scroll bars are the window's own.
  void placeholderListColours() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    auto* help = Find<QPlainTextEdit>(m, "CVU_MyCodeHelp");
    QCOMPARE(help->palette().color(QPalette::Base), QColor(0xec, 0xec, 0xec));
    QCOMPARE(help->palette().color(QPalette::Window), QColor(0xec, 0xec, 0xec));
    for (const QScrollBar* bar : {help->horizontalScrollBar(), help->verticalScrollBar()}) {
      QCOMPARE(bar->palette().color(QPalette::Window), m.palette().color(QPalette::Window));
    }
    QCOMPARE(Find<QLabel>(m, "CVU_AboutTitle")->palette().color(QPalette::WindowText), QColor(0x1f, 0x4a, 0x93));
  }

  void initialStatesAndCaptions() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    QCOMPARE(m.windowTitle(), QStringLiteral("Corvane Uploader X5"));
    QCOMPARE(Q(m.CVU_AboutTitle().text()), QStringLiteral("Corvane Uploader X5"));
    QCOMPARE(Q(m.Label5().text()), QStringLiteral("Version 5.8"));
    QCOMPARE(m.minimumSize(), QSize(584, 492));
    QCOMPARE(m.maximumSize(), QSize(584, 492));
    QVERIFY(!(m.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m.windowFlags() & Qt::WindowMinimizeButtonHint);

    const QStringList tabs = {"Загрузка изображений", "История", "Профиль", "О программе"};
    QCOMPARE(Find<QTabWidget>(m, "CV_AOPager")->count(), 4);
    for (int i = 0; i < 4; ++i) QCOMPARE(Find<QTabWidget>(m, "CV_AOPager")->tabText(i), tabs[i]);
    QCOMPARE(Find<QTabWidget>(m, "CV_AOPager")->currentIndex(), 0);

    QCOMPARE(Find<QPushButton>(m, "CVU_EffBtn")->text(), QStringLiteral("Настройки загрузок"));
    QCOMPARE(Find<QPushButton>(m, "CVU_EffBtn")->width(), 150);
    QCOMPARE(Find<QPushButton>(m, "CVU_UploadBtn")->text(), QStringLiteral("Загрузить"));
    QCOMPARE(Find<QPushButton>(m, "CVU_OpenFilesBtn")->text(), QStringLiteral("Открыть файлы"));
    QCOMPARE(Find<QPushButton>(m, "CVU_OpenFilesBtn")->width(), 150);
    QVERIFY(Find<QPushButton>(m, "CVU_OpenFilesBtn")->isDefault());
    QCOMPARE(Find<QListWidget>(m, "CVU_UploadTable")->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(Find<QListView>(m, "CVU_LOGLIST")->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(Find<QListView>(m, "CVU_LOGLIST")->height(), 90);
    QCOMPARE(Find<QPushButton>(m, "CVU_HistoryBtn")->text(), QStringLiteral("Полная история"));
    QCOMPARE(Find<QPushButton>(m, "CVU_HistoryBtn")->size(), QSize(120, 35));
    QVERIFY(m.CV_Links_Table().groupView());
    QCOMPARE(m.CV_Links_Table().itemCount(), 0);
    const QStringList columns = {"Изображение", "Время загрузки", "Путь к изображению"};
    const int widths[] = {200, 155, 196};
    for (int c = 0; c < 3; ++c) {
      QCOMPARE(Find<QTreeView>(m, "CV_Links_Table")->model()->headerData(c, Qt::Horizontal).toString(), columns[c]);
      QCOMPARE(Find<QTreeView>(m, "CV_Links_Table")->columnWidth(c), widths[c]);
    }
    QCOMPARE(Find<QTreeView>(m, "CV_Links_Table")->selectionMode(), QAbstractItemView::SingleSelection);

    for (QCheckBox* box : {Find<QCheckBox>(m, "CVU_ConfirmDelete"), Find<QCheckBox>(m, "CVU_TitleInfo"),
                           Find<QCheckBox>(m, "CVU_AutoUpload"), Find<QCheckBox>(m, "CVU_StartAutoUpload"),
                           Find<QCheckBox>(m, "CVU_SendAnonymous")}) {
      QVERIFY(!box->isChecked());
    }
    QVERIFY(!Find<QCheckBox>(m, "CVU_StartAutoUpload")->isEnabled());
    QVERIFY(Find<QCheckBox>(m, "CVU_ConfirmDelete")->isEnabled());
    QCOMPARE(Find<QComboBox>(m, "CVU_AutoAction")->count(), 8);
    for (int i = 0; i < 8; ++i) QCOMPARE(Find<QComboBox>(m, "CVU_AutoAction")->itemText(i), Q(AutoActionItems()[i]));
    QCOMPARE(Find<QComboBox>(m, "CVU_AutoAction")->currentIndex(), 0);
    QCOMPARE(Find<QComboBox>(m, "CVU_LinkMycodeID")->count(), 3);
    QCOMPARE(Find<QComboBox>(m, "CVU_LinkMycodeID")->currentIndex(), 0);
    QVERIFY(!Find<QComboBox>(m, "CVU_AutoAction")->isEditable());
    QCOMPARE(Find<QStackedWidget>(m, "CVU_OptionsBox")->currentIndex(), 0);
    QCOMPARE(Find<QTreeWidget>(m, "CVU_OptionsList")->width(), 153);

    QVERIFY(Find<QLineEdit>(m, "CVU_UserName")->text().isEmpty());
    QVERIFY(Find<QLineEdit>(m, "CVU_UserSecure")->text().isEmpty());
    QCOMPARE(Find<QLineEdit>(m, "CVU_UserSecure")->echoMode(), QLineEdit::Normal);
    QVERIFY(!m.CVU_UserSave().checked());
    QCOMPARE(Find<QPushButton>(m, "CVU_AuthBtn")->text(), QStringLiteral("Авторизация"));
    QVERIFY(Find<QPushButton>(m, "CVU_AuthBtn")->isEnabled());
    QCOMPARE(Find<QLabel>(m, "CVU_AuthLabel")->text(), QStringLiteral("Выполняется авторизация..."));
    QVERIFY(!m.CVU_AuthLabel().visible());
    QVERIFY(!m.CVU_AuthBar().visible());
    QCOMPARE(Find<QProgressBar>(m, "CVU_AuthBar")->maximum(), 0);  // marquee
    QCOMPARE(Find<QToolButton>(m, "CVU_AuthResetBtn")->toolTip(), QStringLiteral("Сбросить авторизацию"));

    QCOMPARE(m.CVU_PBarImage().position(), 0);
    QCOMPARE(m.CVU_PBarFull().position(), 0);
    QCOMPARE(Q(m.CVU_InfoStatus().text()), QString());
    QCOMPARE(Q(m.CVU_Clock().text()), QStringLiteral("8 Декабрь 2026 г. 0:09:04"));
    QCOMPARE(Find<QLabel>(m, "CVU_HomeLink")->text().contains(Q(ServiceHomePage())), true);
  }

  void myCodeHelpIsTrimmedAndNamesTheHost() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    const QString help = Find<QPlainTextEdit>(gui.main(), "CVU_MyCodeHelp")->toPlainText();
    const QStringList lines = help.split('\n');
    QCOMPARE(lines.size(), 8);
    QCOMPARE(help, help.trimmed());
    const QString host = Q(ServiceHost());
    QCOMPARE(lines[0], "%P%      - http://" + host + "/i-a1b2cd34e567");
    QCOMPARE(lines[1], "%FP%     - http://" + host + "/f-a1b2cd34e567");
    QCOMPARE(lines[2], "%PIC%   - http://i1." + host + "/a1b2cd34e567.png");
    QCOMPARE(lines[3], "%TPIC% - http://i1." + host + "/a1b2cd34e567.th.png (если превью нет, то выводиться %PIC%)");
    QCOMPARE(lines[4], QStringLiteral("%ID%     - a1b2cd34e567.png"));
    QCOMPARE(lines[5], QStringLiteral("%FN%    - my_best_pic.png"));
    QCOMPARE(lines[6], QStringLiteral("%A%      - Мой альбом"));
    QCOMPARE(lines[7], QStringLiteral("%D%      - 1 Январь 2059 г. 23:59:59 (дата загрузки фотокарточки)"));
  }

  void menusCarryExactlyTheListedShortcuts() {
    GuiProgram gui;
    QVERIFY(gui.start());
    const QStringList links = {"Просмотреть ссылки и коды=Ctrl+S",
                               "Скопировать ссылку=Ctrl+C",
                               "Скопировать прямую ссылку=Ctrl+Shift+C",
                               "Скопировать \"Свой код\"=",
                               "Первый=Ctrl+1",
                               "Второй=Ctrl+2",
                               "Третий=Ctrl+3",
                               "Действие над группой=",
                               "Скопировать ссылки на изображения=",
                               "Скопировать прямые ссылки на изображения=",
                               "Скопировать HTML-код=",
                               "Скопировать BB-код=",
                               "Скопировать Свой код 1=",
                               "Скопировать Свой код 2=",
                               "Скопировать Свой код 3="};
    QCOMPARE(Shortcuts(Find<QMenu>(gui.main(), "CV_Links_Menu")), links);
    QCOMPARE(ActionTexts(Find<QMenu>(gui.main(), "CV_Links_Menu"))[1], QStringLiteral("-"));
    QCOMPARE(ActionTexts(Find<QMenu>(gui.main(), "CV_LogMenu")),
             QStringList({"Скопировать выделенное", "Сохранить лог в файл", "-", "Очистить лог",
                          "Просмотреть расширенный лог"}));
    QCOMPARE(Shortcuts(Find<QMenu>(gui.main(), "CV_LogMenu")).join(','),
             QStringLiteral("Скопировать выделенное=,Сохранить лог в файл=,"
                            "Очистить лог=,Просмотреть расширенный лог="));
    QCOMPARE(Shortcuts(Find<QMenu>(gui.main(), "CV_UpImageList_Menu")),
             QStringList({"Удалить изображения из списка=Del"}));

    TCV_Main& m = gui.main();
    for (MenuItem* item : {&m.N1(), &m.N6(), &m.N7(), &m.N11(), &m.N15()}) QVERIFY(!item->enabled());
    QVERIFY(!m.N15().visible());
    for (MenuItem* item : {&m.N12(), &m.N13(), &m.N14(), &m.N16(), &m.BB1(), &m.N31()}) QVERIFY(item->enabled());
    QVERIFY(m.N10().enabled());
  }

  void menuCaptionsShowAmpersandsAsTyped() {
    GuiProgram gui;
    QVERIFY(gui.start());
    MenuItem& n6 = gui.main().N6();
    n6.setCaption("Скопировать ссылку http://h/i-a&b");
    QCOMPARE(Q(n6.caption()), QStringLiteral("Скопировать ссылку http://h/i-a&b"));
  }

  void autoStartBoxIsIndentedUnderAutoUpload() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    Find<QTabWidget>(gui.main(), "CV_AOPager")->setCurrentIndex(2);
    QTRY_VERIFY(Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isVisible());
    // Where the box is drawn: its indicator starts at the widget's left edge.
    const int indent = Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->mapTo(&gui.main(), QPoint(0, 0)).x() -
                       Find<QCheckBox>(gui.main(), "CVU_AutoUpload")->mapTo(&gui.main(), QPoint(0, 0)).x();
    QVERIFY2(indent >= 12, qPrintable(QStringLiteral("indent %1").arg(indent)));
    QVERIFY(Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->y() >
            Find<QCheckBox>(gui.main(), "CVU_AutoUpload")->y());
    QVERIFY(Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->y() <
            Find<QCheckBox>(gui.main(), "CVU_SendAnonymous")->y());
  }

  void optionTreeSwitchesSheets() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    Find<QTabWidget>(gui.main(), "CV_AOPager")->setCurrentIndex(2);
    // A click on the empty part while no node is selected changes nothing.
    QTest::mouseClick(Find<QTreeWidget>(gui.main(), "CVU_OptionsList")->viewport(), Qt::LeftButton, {},
                      QPoint(20, Find<QTreeWidget>(gui.main(), "CVU_OptionsList")->viewport()->height() - 5));
    QCOMPARE(Find<QStackedWidget>(gui.main(), "CVU_OptionsBox")->currentIndex(), 0);
    for (int node : {2, 1, 0, 2}) {
      const QRect rect = Find<QTreeWidget>(gui.main(), "CVU_OptionsList")
                             ->visualItemRect(Find<QTreeWidget>(gui.main(), "CVU_OptionsList")->topLevelItem(node));
      QTest::mouseClick(Find<QTreeWidget>(gui.main(), "CVU_OptionsList")->viewport(), Qt::LeftButton, {},
                        rect.center());
      QCOMPARE(Find<QStackedWidget>(gui.main(), "CVU_OptionsBox")->currentIndex(), node);
    }
    Find<QTreeWidget>(gui.main(), "CVU_OptionsList")->clearSelection();
    gui.main().CVU_OptionsListClick();
    QCOMPARE(Find<QStackedWidget>(gui.main(), "CVU_OptionsBox")->currentIndex(), 2);
  }

  void optionClicksWriteAtOnce_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("column");
    QTest::newRow("confirm_delete") << 0 << "confirm_delete";
    QTest::newRow("title_info") << 1 << "title_info";
    QTest::newRow("auto_upload") << 2 << "auto_upload";
    QTest::newRow("start_autoupload") << 3 << "start_autoupload";
    QTest::newRow("send_anonymous") << 4 << "send_anonymous";
  }

  void optionClicksWriteAtOnce() {
    QFETCH(int, box);
    QFETCH(QString, column);
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    Find<QTabWidget>(gui.main(), "CV_AOPager")->setCurrentIndex(2);
    QCheckBox* boxes[] = {Find<QCheckBox>(gui.main(), "CVU_ConfirmDelete"),
                          Find<QCheckBox>(gui.main(), "CVU_TitleInfo"), Find<QCheckBox>(gui.main(), "CVU_AutoUpload"),
                          Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload"),
                          Find<QCheckBox>(gui.main(), "CVU_SendAnonymous")};
    if (box == 3)
      ClickBox(Find<QCheckBox>(gui.main(), "CVU_AutoUpload"));  // the second box is usable only under the first
    const std::string query = "SELECT " + column.toStdString() + " FROM CVU_DATA";
    ClickBox(boxes[box]);
    QVERIFY(boxes[box]->isChecked());
    QCOMPARE(Q(gui.stored(query)), QStringLiteral("1"));
    ClickBox(boxes[box]);
    QCOMPARE(Q(gui.stored(query)), QStringLiteral("0"));
  }

  void untickingAutoUploadUnticksAndStoresStart() {
    GuiProgram gui("INSERT INTO CVU_DATA(wPosLeft, wPosTop, auto_upload, start_autoupload) VALUES(0, 0, 1, 1);");
    QVERIFY(gui.startAndShow());
    Find<QTabWidget>(gui.main(), "CV_AOPager")->setCurrentIndex(2);
    QVERIFY(Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isChecked());
    QVERIFY(Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isEnabled());
    ClickBox(Find<QCheckBox>(gui.main(), "CVU_AutoUpload"));
    QVERIFY(!Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isChecked());
    QVERIFY(!Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isEnabled());
    QCOMPARE(Q(gui.stored("SELECT auto_upload FROM CVU_DATA")), QStringLiteral("0"));
    QCOMPARE(Q(gui.stored("SELECT start_autoupload FROM CVU_DATA")), QStringLiteral("0"));
    ClickBox(Find<QCheckBox>(gui.main(), "CVU_AutoUpload"));
    QVERIFY(Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isEnabled());
    QVERIFY(!Find<QCheckBox>(gui.main(), "CVU_StartAutoUpload")->isChecked());
  }

  void saveButtonStoresTheThreeTemplates() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    Find<QTabWidget>(m, "CV_AOPager")->setCurrentIndex(2);
    Find<QStackedWidget>(m, "CVU_OptionsBox")->setCurrentIndex(2);
    m.CVU_MYV1().setText("[url=%P%]\r\n%ID%");
    m.CVU_MYV2().setText("b");
    m.CVU_MYV3().setText("");
    QCOMPARE(qobject_cast<QPlainTextEdit*>(Find<QPlainTextEdit>(m, "CVU_MyCodeHelp"))->isReadOnly(), true);
    QTest::mouseClick(Find<QToolButton>(m, "CVU_MyCodeSaveBtn"), Qt::LeftButton);
    QCOMPARE(Q(gui.stored("SELECT mYv_1 FROM CVU_DATA")), QStringLiteral("[url=%P%]\r\n%ID%"));
    QCOMPARE(Q(gui.stored("SELECT mYv_2 FROM CVU_DATA")), QStringLiteral("b"));
    QCOMPARE(Q(gui.stored("SELECT mYv_3 FROM CVU_DATA")), QString());
  }

  void exitStatementStoresPositionAndChoices() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    m.move(300, 200);
    Find<QComboBox>(m, "CVU_AutoAction")->setCurrentIndex(4);
    Find<QComboBox>(m, "CVU_LinkMycodeID")->setCurrentIndex(2);
    gui.program->finish();
    QCOMPARE(Q(gui.stored("SELECT wPosTop FROM CVU_DATA")), QStringLiteral("200"));
    QCOMPARE(Q(gui.stored("SELECT wPosLeft FROM CVU_DATA")), QStringLiteral("300"));
    QCOMPARE(Q(gui.stored("SELECT auto_action FROM CVU_DATA")), QStringLiteral("4"));
    QCOMPARE(Q(gui.stored("SELECT link_mycode_id FROM CVU_DATA")), QStringLiteral("2"));
    QCOMPARE(Q(gui.stored("SELECT user_hash FROM CVU_DATA")), QString());
    // The end runs once: a second finish writes nothing more.
    cvu::test::RunSql(gui.dbPath, "UPDATE CVU_DATA SET wPosTop=7");
    gui.program->finish();
    QCOMPARE(Q(gui.stored("SELECT wPosTop FROM CVU_DATA")), QStringLiteral("7"));
  }

  void windowPosition_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("centred");
    QTest::newRow("restored") << 200 << 300 << false;
    QTest::newRow("top edge at 0") << 0 << 300 << true;
    QTest::newRow("left edge at 0") << 120 << 0 << true;
    QTest::newRow("monitor on the left") << 120 << -900 << true;
  }

  void windowPosition() {
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(bool, centred);
    GuiProgram gui("INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(" + std::to_string(left) + ", " +
                   std::to_string(top) + ");");
    QVERIFY(gui.startAndShow());
    const QPoint expected = centred ? CentredPosition(gui.main()) : QPoint(left, top);
    QVERIFY2((gui.main().pos() - expected).manhattanLength() <= 2,
             qPrintable(QStringLiteral("at %1,%2").arg(gui.main().x()).arg(gui.main().y())));
  }

  void emptySettingsTableGetsItsRowAndCentres() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QCOMPARE(Q(gui.stored("SELECT COUNT(*) FROM CVU_DATA")), QStringLiteral("1"));
    QVERIFY((gui.main().pos() - CentredPosition(gui.main())).manhattanLength() <= 2);
  }

  void missingSettingsTableEndsStart() {
    GuiProgram gui("CREATE TABLE CVU_HISTORY(image_id TEXT);", false);
    QVERIFY(!gui.start());
    QCOMPARE(gui.dialogs.messages.size(), std::size_t{1});
    QVERIFY(gui.dialogs.messages[0].rfind("[Error 058] При загрузке базы данных произошла ошибка", 0) == 0);
    gui.program->finish();  // nothing is written at the end
    QCOMPARE(Q(gui.stored("SELECT COUNT(*) FROM sqlite_master WHERE name='CVU_DATA'")), QStringLiteral("0"));
  }

  void formShowRunsOnceAndLoginOnlyWithSavedCredentials_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("logins");
    QTest::newRow("nothing saved") << "" << 0;
    QTest::newRow("all four saved")
        << "INSERT INTO CVU_DATA(user_hash, user_id, user_name, user_secure) VALUES('h', '7', 'anna', 'pw');" << 1;
    QTest::newRow("one of four empty")
        << "INSERT INTO CVU_DATA(user_hash, user_id, user_name, user_secure) VALUES('h', '', 'anna', 'pw');" << 0;
  }

  void formShowRunsOnceAndLoginOnlyWithSavedCredentials() {
    QFETCH(QString, setup);
    QFETCH(int, logins);
    // The version check and the login reach a server of the test's own, which counts them.
    test::TestServer server;
    std::atomic<int> checks = 0;
    std::atomic<int> autoLogins = 0;
    server.get("//cvuversion.txt", [&](const test::RecordedRequest&, httplib::Response& res) {
      ++checks;
      res.set_content("58", "text/plain");
    });
    server.post("/", [&](const test::RecordedRequest&, httplib::Response& res) {
      ++autoLogins;
      res.set_content("", "text/html");
    });
    server.start();
    SetServiceHost(server.host());
    GuiProgram gui(setup.toStdString());
    QVERIFY(gui.startAndShow());
    QTRY_COMPARE(checks.load(), 1);
    QTRY_COMPARE(autoLogins.load(), logins);
    QTRY_VERIFY(gui.ctx().versionChecks.idle());
    if (logins == 1) QCOMPARE(Find<QLineEdit>(gui.main(), "CVU_UserName")->text(), QStringLiteral("anna"));
    gui.main().showMinimized();
    QApplication::processEvents();
    gui.main().restoreFromTray();
    QVERIFY(QTest::qWaitForWindowExposed(&gui.main()));
    QVERIFY(!gui.main().isMinimized());
    gui.main().hide();
    gui.main().show();
    QApplication::processEvents();
    QVERIFY(gui.ctx().versionChecks.idle());
    QCOMPARE(checks.load(), 1);
    QCOMPARE(autoLogins.load(), logins);
    SetServiceHost(kDefaultServiceHost);
  }

  void logMenuActions() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    N9ClickAll(m);
    gui.ctx().AddLogLine("первая", "");
    gui.ctx().AddLogLine("вторая %", "X");
    gui.ctx().AddLogLine("третья", "");
    ListBox& log = m.CVU_LOGLIST();
    QCOMPARE(log.count(), 3);
    QCOMPARE(Q(log.line(1)), QStringLiteral("[8 Декабрь 2026 г. 0:09:04] вторая X"));
    log.setSelected(1, true);
    log.setSelected(2, true);
    Find<QAction>(m, "N2")->trigger();
    QCOMPARE(Q(gui.clipboard.text().value_or("")), Q(log.line(1) + "\r\n" + log.line(2)));

    gui.dialogs.saveAnswer = gui.dir.file("saved.txt");
    Find<QAction>(m, "N3")->trigger();
    QCOMPARE(gui.dialogs.saveProposals.back(), std::string("CorvaneUploader_log.1208_00904.txt"));
    QFile saved(QString::fromStdString(gui.dir.file("saved.txt")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const std::string expected = Utf8ToCp1251(log.line(0) + "\r\n" + log.line(1) + "\r\n" + log.line(2) + "\r\n");
    QCOMPARE(saved.readAll(), QByteArray::fromStdString(expected));

    const int bigBefore = gui.program->bigLog().CVU_BigLog().count();
    Find<QAction>(m, "N9")->trigger();
    QCOMPARE(log.count(), 0);
    QCOMPARE(gui.program->bigLog().CVU_BigLog().count(), bigBefore);
    const std::size_t proposals = gui.dialogs.saveProposals.size();
    Find<QAction>(m, "N3")->trigger();  // an empty main log opens no dialog
    QCOMPARE(gui.dialogs.saveProposals.size(), proposals);

    QVERIFY(!gui.program->bigLog().isVisible());
    Find<QAction>(m, "N4")->trigger();
    QVERIFY(gui.program->bigLog().isVisible());
    QCOMPARE(gui.program->bigLog().windowTitle(), QStringLiteral("Corvane Uploader X5"));
    gui.program->bigLog().hide();
    gui.ctx().AddLogLine("ещё", "");
    auto* shown = Find<QListView>(m, "CVU_LOGLIST");
    QTRY_COMPARE(shown->model()->rowCount(), 1);  // the view takes it with its batch
    ListBox& big = gui.program->bigLog().CVU_BigLog();
    QCOMPARE(Q(big.line(big.count() - 1)), Q(log.line(0)));  // the big log kept its lines and took this one
    QCOMPARE(big.count(), bigBefore + 1);
    const QRect first = shown->visualRect(shown->model()->index(0, 0));
    QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(shown->viewport(), Qt::LeftButton, {}, first.center());
    QVERIFY(gui.program->bigLog().isVisible());
  }

  void bigLogHoldsLinesWrittenBeforeItExisted() {
    GuiProgram gui("INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(0, 0);");
    QVERIFY(gui.start());
    gui.ctx().AddLogLine("после", "");
    ListBox& big = gui.program->bigLog().CVU_BigLog();
    ListBox& main = gui.main().CVU_LOGLIST();
    QCOMPARE(big.count(), main.count());
    QCOMPARE(Q(big.line(big.count() - 1)), Q(main.line(main.count() - 1)));
  }

  void handlerErrorIsShownAndProgramGoesOn() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    // The file dialog fails inside the button's core handler.
    gui.dialogs.openFailure = "Сбой обработчика";
    QTest::mouseClick(Find<QPushButton>(gui.main(), "CVU_OpenFilesBtn"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(gui.main(), "CVU_OpenFilesBtn"), Qt::LeftButton);
    QCOMPARE(gui.dialogs.openFilters.size(), std::size_t{2});
    QCOMPARE(gui.dialogs.messages.size(), std::size_t{2});
    QCOMPARE(Q(gui.dialogs.messages[0]), QStringLiteral("Сбой обработчика"));
    QVERIFY(gui.main().isVisible());
  }

  void effButtonShowsUploadOptions() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QVERIFY(!gui.program->upOptions().isVisible());
    QTest::mouseClick(Find<QPushButton>(gui.main(), "CVU_EffBtn"), Qt::LeftButton);
    QVERIFY(gui.program->upOptions().isVisible());
  }

  // Last: runs the event loop. Closing the main window ends it even with the other
  // three windows open.
  void closingMainWindowEndsProgramWithOtherWindowsOpen() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    gui.program->links().showWindow();
    gui.program->bigLog().showWindow();
    gui.program->upOptions().showWindow();
    QTimer::singleShot(0, &gui.main(), [&] { gui.main().close(); });
    QTimer::singleShot(5000, qApp, [] { QApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
  }

 private:
  static void N9ClickAll(TCV_Main& m) { Find<QAction>(m, "N9")->trigger(); }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
