#pragma once
// TCV_Main: the main window. Four pages (upload, history, profile, about), the activity
// log, the two progress bars and the status bar. It lays out and wires; the logic is
// in the core, reached through the MainControls it implements.
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt_controls.h"
#include "app/qt_history_view.h"
#include "app/qt_log_list.h"
#include "common/main_controls.h"
#include "program/app_context.h"
#include "upload/upload_events.h"

class QTabWidget;
class QTreeWidget;
class QStackedWidget;
class QMenu;
class QPushButton;
class QToolButton;

namespace cvu {

class TCV_Links;
class TCV_BigLog;
class TCV_UpOptions;

class TCV_Main : public QWidget, public MainControls, public UploadEvents {
  Q_OBJECT

 public:
  TCV_Main();
  ~TCV_Main() override;

  // Start-up: registers the drop target and loads the settings (the stored history is
  // read by the caller). False: the program must end (the user has been told).
  bool FormCreate(AppContext& ctx);
  // The secondary windows the handlers open.
  void attachWindows(TCV_Links& links, TCV_BigLog& bigLog, TCV_UpOptions& upOptions);
  // Program end: writes the settings row. Runs once.
  void FormDestroy();

  // Runs a handler; an error that escapes it is shown in a message box.
  void runHandler(const std::function<void()>& handler);

  // MainControls.
  WindowFrame& frame() override { return *frame_; }
  Label& CVU_AboutTitle() override { return *aboutTitle_; }
  Label& Label5() override { return *label5_; }
  CheckBox& CVU_UserSave() override { return *userSave_; }
  TextBox& CVU_UserName() override { return *userName_; }
  TextBox& CVU_UserSecure() override { return *userSecure_; }
  TextBox& CVU_MYV1() override { return *myv_[0]; }
  TextBox& CVU_MYV2() override { return *myv_[1]; }
  TextBox& CVU_MYV3() override { return *myv_[2]; }
  CheckBox& CVU_ConfirmDelete() override { return *confirmDelete_; }
  CheckBox& CVU_TitleInfo() override { return *titleInfo_; }
  CheckBox& CVU_AutoUpload() override { return *autoUpload_; }
  CheckBox& CVU_StartAutoUpload() override { return *startAutoUpload_; }
  CheckBox& CVU_SendAnonymous() override { return *sendAnonymous_; }
  ComboBox& CVU_AutoAction() override { return *autoAction_; }
  ComboBox& CVU_LinkMycodeID() override { return *linkMycodeId_; }
  ListBox& CVU_LOGLIST() override { return *logList_; }
  LogLineStore& logLines() { return logLines_; }
  Label& CVU_HistoryBtn() override { return *historyBtn_; }
  HistoryView& CV_Links_Table() override { return *linksTable_; }
  MenuItem& N1() override { return *menu_.n1; }
  MenuItem& N6() override { return *menu_.n6; }
  MenuItem& N7() override { return *menu_.n7; }
  MenuItem& N11() override { return *menu_.n11; }
  MenuItem& N12() override { return *menu_.n12; }
  MenuItem& N13() override { return *menu_.n13; }
  MenuItem& N14() override { return *menu_.n14; }
  MenuItem& N15() override { return *menu_.n15; }
  MenuItem& N16() override { return *menu_.n16; }
  MenuItem& N17() override { return *menu_.n17; }
  MenuItem& HTML1() override { return *menu_.html1; }
  MenuItem& BB1() override { return *menu_.bb1; }
  MenuItem& N18() override { return *menu_.n18; }
  MenuItem& N21() override { return *menu_.n21; }
  MenuItem& N31() override { return *menu_.n31; }
  QtListBox& CVU_UploadTable() override { return *uploadTable_; }
  Button& CVU_EffBtn() override { return *effBtn_; }
  Button& CVU_UploadBtn() override { return *uploadBtn_; }
  Button& CVU_OpenFilesBtn() override { return *openFilesBtn_; }
  MenuItem& N10() override { return *n10_; }
  ProgressBar& CVU_PBarImage() override { return *pbarImage_; }
  ProgressBar& CVU_PBarFull() override { return *pbarFull_; }
  Label& CVU_InfoStatus() override { return *infoStatus_; }
  Button& CVU_AuthBtn() override { return *authBtn_; }
  StatusLabel& CVU_AuthLabel() override { return *authLabel_; }
  ProgressBar& CVU_AuthBar() override { return *authBar_; }
  Button& CVU_AuthResetBtn() override { return *authResetBtn_; }
  // The left pane of the status bar: the running clock.
  Label& CVU_Clock() { return *clock_; }

  // UploadEvents: while the window is away in the notification area, the end of a group
  // is told there.
  void groupEnded(int files, int uploaded) override;

  // Handlers of the window's own controls.
  void CVU_OptionsListClick();
  void CVU_LOGLISTDblClick();
  void CVU_EffBtnClick();
  void restoreFromTray();
  // Files handed to the program from outside (the launcher's, Open With): the window comes
  // to the front and takes them as a drop.
  void openFiles(const std::vector<std::string>& paths);

  QtHistoryView& historyView() { return *linksTable_; }
  // The notification-area icon is on the desktop now: a notification area exists.
  bool trayIconShown() const;
  bool formShown() const { return formShown_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The history menu's entries with their adapters.
  struct LinksMenu {
    std::unique_ptr<QtMenuItem> n1, n6, n7, n11, n12, n13, n14, n15, n16, n17, html1, bb1, n18, n21, n31;
  };

  void buildFrame();
  QWidget* buildUploadPage();
  QWidget* buildHistoryPage();
  QWidget* buildProfilePage();
  // The own-code sheet's help loses the line break its text ends with.
  void trimMyCodeHelp();
  QWidget* buildProgramSheet();
  QWidget* buildAccountSheet();
  QWidget* buildOwnCodeSheet();
  QWidget* buildAboutPage();
  QWidget* buildLogList();
  QWidget* buildProgressStrip();
  QWidget* buildStatusBar();
  void buildLinksMenu();
  void buildLogMenu();
  void buildUploadMenu();
  void buildTrayIcon();
  // All of the window's handlers are connected by wireHandlers (cv_main_wiring.cpp).
  void wireHandlers();
  void wireHistoryPage();
  void wireLog();
  void wireUploadPage();
  void wireProfilePage();
  void FormShow();
  void tickClock();
  // Runs a core handler that needs the context, once FormCreate has given it.
  void withContext(const std::function<void(AppContext&)>& handler);

  // The widgets the window wires and lays out; each carries its control name as object name.
  struct Widgets {
    QTabWidget* pager = nullptr;  // CV_AOPager
    QListView* logList = nullptr;
    QListWidget* uploadTable = nullptr;
    QTreeView* linksTable = nullptr;
    QPushButton* historyBtn = nullptr;
    QPushButton* effBtn = nullptr;
    QPushButton* uploadBtn = nullptr;
    QPushButton* openFilesBtn = nullptr;
    QTreeWidget* optionsList = nullptr;
    QStackedWidget* optionsBox = nullptr;
    QPlainTextEdit* myCodeHelp = nullptr;
    QToolButton* myCodeSaveBtn = nullptr;
    QCheckBox* confirmDelete = nullptr;
    QCheckBox* titleInfo = nullptr;
    QCheckBox* autoUpload = nullptr;
    QCheckBox* startAutoUpload = nullptr;
    QCheckBox* sendAnonymous = nullptr;
    QComboBox* autoAction = nullptr;
    QComboBox* linkMycodeId = nullptr;
    QLineEdit* userName = nullptr;
    QLineEdit* userSecure = nullptr;
    QPushButton* authBtn = nullptr;
    QLabel* authLabel = nullptr;
    QProgressBar* authBar = nullptr;
    QToolButton* authResetBtn = nullptr;
    QLabel* homeLink = nullptr;
    QMenu* linksMenu = nullptr;   // CV_Links_Menu
    QMenu* logMenu = nullptr;     // CV_LogMenu
    QMenu* uploadMenu = nullptr;  // CV_UpImageList_Menu
    QAction* n2 = nullptr;
    QAction* n3 = nullptr;
    QAction* n4 = nullptr;
    QAction* n9 = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;  // CV_TrayIcon
  };
  Widgets w_;
  AppContext* ctx_ = nullptr;
  TCV_Links* links_ = nullptr;
  TCV_BigLog* bigLog_ = nullptr;
  TCV_UpOptions* upOptions_ = nullptr;
  bool formShown_ = false;
  bool destroyed_ = false;
  QTimer clockTimer_;

  std::unique_ptr<QtWindowFrame> frame_;
  std::unique_ptr<QtLabel> aboutTitle_, label5_, clock_, infoStatus_;
  std::unique_ptr<QtCheckBox> userSave_, confirmDelete_, titleInfo_, autoUpload_, startAutoUpload_, sendAnonymous_;
  std::unique_ptr<QtLineText> userName_, userSecure_;
  std::unique_ptr<QtMemoText> myv_[3];
  std::unique_ptr<QtComboBox> autoAction_, linkMycodeId_;
  LogLineStore logLines_;  // the big log shows them too
  std::unique_ptr<QtLogList> logList_;
  std::unique_ptr<QtListBox> uploadTable_;
  std::unique_ptr<QtButtonCaption> historyBtn_;
  std::unique_ptr<QtHistoryView> linksTable_;
  LinksMenu menu_;
  std::unique_ptr<QtMenuItem> n10_;
  std::unique_ptr<QtButton> effBtn_, uploadBtn_, openFilesBtn_, authBtn_, authResetBtn_;
  std::unique_ptr<QtProgressBar> pbarImage_, pbarFull_, authBar_;
  std::unique_ptr<QtStatusLabel> authLabel_;
};

}  // namespace cvu
