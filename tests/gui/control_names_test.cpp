// Every named control of the four windows is one object of that name, and the real
// main window starts with the captions and states of its headless stand-in.
#include <QSystemTrayIcon>
#include <QTest>
#include <string>
#include <vector>

#include "gui_fixture.h"
#include "headless/headless_controls.h"

using namespace cvu;
using cvu::test::GuiProgram;
using cvu::test::Q;

namespace {

struct NamedControl {
  const char* name;
  const char* kind;  // the Qt class the object is or derives from
};

const NamedControl kMainNames[] = {
    {"CV_AOPager", "QTabWidget"},
    {"CV_AOPMainPage", "QWidget"},
    {"CV_History", "QWidget"},
    {"CVU_LOGLIST", "QListView"},
    {"CVU_PBarImage", "QProgressBar"},
    {"CVU_PBarFull", "QProgressBar"},
    {"CVU_InfoBar", "QStatusBar"},
    {"CVU_Clock", "QLabel"},
    {"CVU_InfoStatus", "QLabel"},
    {"CVU_EffBtn", "QPushButton"},
    {"CVU_UploadBtn", "QPushButton"},
    {"CVU_OpenFilesBtn", "QPushButton"},
    {"CVU_UploadTable", "QListWidget"},
    {"CVU_HistoryBtn", "QPushButton"},
    {"CV_Links_Table", "QTreeView"},
    {"CVU_OptionsList", "QTreeWidget"},
    {"CVU_OptionsBox", "QStackedWidget"},
    {"TabSheet1", "QWidget"},
    {"TabSheet2", "QWidget"},
    {"TabSheet3", "QWidget"},
    {"CVU_ConfirmDelete", "QCheckBox"},
    {"CVU_TitleInfo", "QCheckBox"},
    {"CVU_AutoUpload", "QCheckBox"},
    {"CVU_StartAutoUpload", "QCheckBox"},
    {"CVU_SendAnonymous", "QCheckBox"},
    {"CVU_AutoAction", "QComboBox"},
    {"CVU_LinkMycodeID", "QComboBox"},
    {"CVU_UserName", "QLineEdit"},
    {"CVU_UserSecure", "QLineEdit"},
    {"CVU_UserSave", "QCheckBox"},
    {"CVU_AuthBtn", "QPushButton"},
    {"CVU_AuthLabel", "QLabel"},
    {"CVU_AuthBar", "QProgressBar"},
    {"CVU_AuthResetBtn", "QToolButton"},
    {"CVU_MYV1", "QPlainTextEdit"},
    {"CVU_MYV2", "QPlainTextEdit"},
    {"CVU_MYV3", "QPlainTextEdit"},
    {"CVU_MyCodeHelp", "QPlainTextEdit"},
    {"CVU_MyCodeSaveBtn", "QToolButton"},
    {"CVU_AboutTitle", "QLabel"},
    {"Label5", "QLabel"},
    {"CV_Links_Menu", "QMenu"},
    {"CV_LogMenu", "QMenu"},
    {"CV_UpImageList_Menu", "QMenu"},
    {"N1", "QAction"},
    {"N5", "QAction"},
    {"N6", "QAction"},
    {"N7", "QAction"},
    {"N11", "QAction"},
    {"N12", "QAction"},
    {"N13", "QAction"},
    {"N14", "QAction"},
    {"N15", "QAction"},
    {"N16", "QAction"},
    {"N17", "QAction"},
    {"HTML1", "QAction"},
    {"BB1", "QAction"},
    {"N18", "QAction"},
    {"N21", "QAction"},
    {"N31", "QAction"},
    {"N2", "QAction"},
    {"N3", "QAction"},
    {"N8", "QAction"},
    {"N9", "QAction"},
    {"N4", "QAction"},
    {"N10", "QAction"},
};

const NamedControl kLinksNames[] = {
    {"CV_Links_01", "QLineEdit"},      {"CV_Links_02", "QLineEdit"},      {"CV_Links_03", "QLineEdit"},
    {"CV_Links_04", "QLineEdit"},      {"CV_Links_05", "QPlainTextEdit"}, {"CV_Links_06", "QPlainTextEdit"},
    {"CV_Links_07", "QPlainTextEdit"},
};

const NamedControl kUpOptionsNames[] = {
    {"CVU_Ef_Quality", "QSpinBox"},    {"CVU_Ef_Filter", "QComboBox"}, {"CVU_Ef_ThText", "QLineEdit"},
    {"CVU_Ef_Title", "QLineEdit"},     {"CVU_Ef_Album", "QComboBox"},  {"CVU_Ef_EffOff", "QCheckBox"},
    {"CVU_Ef_Published", "QCheckBox"},
};

const NamedControl kBigLogNames[] = {{"CVU_BigLog", "QListView"}};

template <std::size_t N>
void ExpectEachOnce(QObject& window, const char* windowName, const NamedControl (&names)[N]) {
  QCOMPARE(window.objectName(), QString::fromLatin1(windowName));
  for (const NamedControl& control : names) {
    const QList<QObject*> found = window.findChildren<QObject*>(QString::fromLatin1(control.name));
    QVERIFY2(found.size() == 1, control.name);
    QVERIFY2(found.first()->inherits(control.kind), control.name);
  }
}

void CompareButton(const Button& real, const Button& headless, const char* name) {
  QVERIFY2(real.caption() == headless.caption(), name);
  QVERIFY2(real.enabled() == headless.enabled(), name);
}

void CompareMenuItem(const MenuItem& real, const MenuItem& headless, const char* name) {
  QVERIFY2(real.caption() == headless.caption(), name);
  QVERIFY2(real.enabled() == headless.enabled(), name);
  QVERIFY2(real.visible() == headless.visible(), name);
}

void CompareCheckBox(const CheckBox& real, const CheckBox& headless, const char* name) {
  QVERIFY2(real.checked() == headless.checked(), name);
  QVERIFY2(real.enabled() == headless.enabled(), name);
}

void CompareComboBox(const ComboBox& real, const ComboBox& headless, const char* name) {
  QVERIFY2(real.itemCount() == headless.itemCount(), name);
  for (int i = 0; i < real.itemCount(); ++i) QVERIFY2(real.itemText(i) == headless.itemText(i), name);
  QVERIFY2(real.itemIndex() == headless.itemIndex(), name);
  QVERIFY2(real.enabled() == headless.enabled(), name);
}

void CompareText(const TextBox& real, const TextBox& headless, const char* name) {
  QVERIFY2(real.text() == headless.text(), name);
  QVERIFY2(real.enabled() == headless.enabled(), name);
}

void CompareBar(const ProgressBar& real, const ProgressBar& headless, const char* name) {
  QVERIFY2(real.position() == headless.position(), name);
  QVERIFY2(real.visible() == headless.visible(), name);
}

}  // namespace

class ControlNamesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyNamedControlIsOneObjectOfThatName() {
    GuiProgram gui;
    QVERIFY(gui.start());
    ExpectEachOnce(gui.main(), "CV_Main", kMainNames);
    ExpectEachOnce(gui.program->links(), "CV_Links", kLinksNames);
    ExpectEachOnce(gui.program->upOptions(), "CV_UpOptions", kUpOptionsNames);
    ExpectEachOnce(gui.program->bigLog(), "CV_BigLog", kBigLogNames);
    // Made whether or not the desktop has a notification area now: one may come later.
    QCOMPARE(gui.main().findChildren<QSystemTrayIcon*>(QStringLiteral("CV_TrayIcon")).size(), 1);
  }

  void realAndHeadlessMainWindowsStartAlike() {
    TCV_Main window;
    HeadlessMain headless;
    MainControls& r = window;
    MainControls& h = headless;
    CompareButton(r.CVU_EffBtn(), h.CVU_EffBtn(), "CVU_EffBtn");
    CompareButton(r.CVU_UploadBtn(), h.CVU_UploadBtn(), "CVU_UploadBtn");
    CompareButton(r.CVU_OpenFilesBtn(), h.CVU_OpenFilesBtn(), "CVU_OpenFilesBtn");
    CompareButton(r.CVU_AuthBtn(), h.CVU_AuthBtn(), "CVU_AuthBtn");
    CompareButton(r.CVU_AuthResetBtn(), h.CVU_AuthResetBtn(), "CVU_AuthResetBtn");
    QCOMPARE(Q(r.CVU_HistoryBtn().text()), Q(h.CVU_HistoryBtn().text()));
    QCOMPARE(Q(r.CVU_AuthLabel().text()), Q(h.CVU_AuthLabel().text()));
    QCOMPARE(r.CVU_AuthLabel().visible(), h.CVU_AuthLabel().visible());
    QCOMPARE(Q(r.CVU_InfoStatus().text()), Q(h.CVU_InfoStatus().text()));

    const std::vector<std::pair<const char*, MenuItem& (MainControls::*)()>> items = {
        {"N1", &MainControls::N1},   {"N6", &MainControls::N6},   {"N7", &MainControls::N7},
        {"N10", &MainControls::N10}, {"N11", &MainControls::N11}, {"N12", &MainControls::N12},
        {"N13", &MainControls::N13}, {"N14", &MainControls::N14}, {"N15", &MainControls::N15},
        {"N16", &MainControls::N16}, {"N17", &MainControls::N17}, {"HTML1", &MainControls::HTML1},
        {"BB1", &MainControls::BB1}, {"N18", &MainControls::N18}, {"N21", &MainControls::N21},
        {"N31", &MainControls::N31},
    };
    for (const auto& [name, item] : items) CompareMenuItem((r.*item)(), (h.*item)(), name);

    CompareCheckBox(r.CVU_ConfirmDelete(), h.CVU_ConfirmDelete(), "CVU_ConfirmDelete");
    CompareCheckBox(r.CVU_TitleInfo(), h.CVU_TitleInfo(), "CVU_TitleInfo");
    CompareCheckBox(r.CVU_AutoUpload(), h.CVU_AutoUpload(), "CVU_AutoUpload");
    CompareCheckBox(r.CVU_StartAutoUpload(), h.CVU_StartAutoUpload(), "CVU_StartAutoUpload");
    CompareCheckBox(r.CVU_SendAnonymous(), h.CVU_SendAnonymous(), "CVU_SendAnonymous");
    CompareCheckBox(r.CVU_UserSave(), h.CVU_UserSave(), "CVU_UserSave");
    CompareComboBox(r.CVU_AutoAction(), h.CVU_AutoAction(), "CVU_AutoAction");
    CompareComboBox(r.CVU_LinkMycodeID(), h.CVU_LinkMycodeID(), "CVU_LinkMycodeID");
    CompareText(r.CVU_UserName(), h.CVU_UserName(), "CVU_UserName");
    CompareText(r.CVU_UserSecure(), h.CVU_UserSecure(), "CVU_UserSecure");
    CompareText(r.CVU_MYV1(), h.CVU_MYV1(), "CVU_MYV1");
    CompareText(r.CVU_MYV2(), h.CVU_MYV2(), "CVU_MYV2");
    CompareText(r.CVU_MYV3(), h.CVU_MYV3(), "CVU_MYV3");
    CompareBar(r.CVU_PBarImage(), h.CVU_PBarImage(), "CVU_PBarImage");
    CompareBar(r.CVU_PBarFull(), h.CVU_PBarFull(), "CVU_PBarFull");
    CompareBar(r.CVU_AuthBar(), h.CVU_AuthBar(), "CVU_AuthBar");
    QCOMPARE(r.CVU_UploadTable().count(), h.CVU_UploadTable().count());
    QCOMPARE(r.CVU_LOGLIST().count(), h.CVU_LOGLIST().count());
    QCOMPARE(r.CV_Links_Table().itemCount(), h.CV_Links_Table().itemCount());
  }
};

QTEST_MAIN(ControlNamesTest)
#include "control_names_test.moc"
