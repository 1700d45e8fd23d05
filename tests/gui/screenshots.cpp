// Writes a picture of every page and window of the real program into the folder given
// as the argument. Run by scripts/screenshots under a virtual X server.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>

#include "app/app_font.h"
#include "app/qt_dialogs.h"
#include "app/qt_translations.h"
#include "common/identity.h"
#include "gui_fixture.h"
#include "links/history_page.h"
#include "links/links_window.h"
#include "upload/upload_list.h"
#include "x_tray_host.h"

using namespace cvu;
using cvu::test::Find;

namespace {

const char* kHistoryRows =
    "INSERT INTO CVU_HISTORY VALUES('a1b2cd34e567','i1','a1b2cd34e567.png','a1b2cd34e567.th.png','sunset.png',"
    "'/home/anna/Pictures/sunset.png','7 Декабрь 2026 г. 21:14:05');"
    "INSERT INTO CVU_HISTORY VALUES('b2c3de45f678','i1','b2c3de45f678.jpg','0','cat.jpg',"
    "'/home/anna/Pictures/cat.jpg','7 Декабрь 2026 г. 21:15:40');"
    "INSERT INTO CVU_HISTORY VALUES('c3d4ef56a789','i2','c3d4ef56a789.jpg','c3d4ef56a789.th.jpg','mountains.jpg',"
    "'/home/anna/Pictures/trip/mountains.jpg','8 Декабрь 2026 г. 0:05:12');";

void Save(QWidget* widget, const QString& folder, const char* name) {
  QApplication::processEvents();
  const QString path = QDir(folder).filePath(QString::fromUtf8(name));
  if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

void FillRunHistory(AppContext& ctx, TCV_Main& main) {
  auto& records = ctx.history.RunHistory;
  const char* names[] = {"sunset", "cat", "mountains", "river", "bridge"};
  for (int i = 0; i < 5; ++i) {
    HistoryRecord r = test::RunRecord(std::string("d4e5f6a7b8c") + char('0' + i), i < 2 ? 0 : 1, i % 2 ? "0" : "t.png");
    r.base_file = std::string(names[i]) + ".jpg";
    r.base_filefolder = "/home/anna/Pictures/" + r.base_file;
    records.push_back(r);
  }
  HistoryView& view = main.CV_Links_Table();
  view.addGroup(0, "Группа 1 (8 Декабрь 2026 г. 0:07:51)");
  view.setGroupSubtitle(0, "Изображений: 2, Загружено: 8 Декабрь 2026 г. 0:08:02");
  view.addGroup(1, "Группа 2 (8 Декабрь 2026 г. 0:08:40)");
  view.setGroupSubtitle(1, "Изображений: 3, Загружено: 8 Декабрь 2026 г. 0:09:04");
  FillHistoryView(ctx.main.CV_Links_Table(), ctx.history, false);
}

// The open-files dialog as the program shows it (Qt's own, in Russian), over a folder
// of pictures.
void SaveFileDialog(QWidget* owner, const QString& folder) {
  test::TempDir dir;
  const QString pictures = QDir(QString::fromStdString(dir.path().string())).filePath(QStringLiteral("Изображения"));
  QDir().mkpath(pictures);
  for (const char* name : {"sunset.png", "cat.jpg", "mountains.jpg", "river.gif", "notes.txt"}) {
    QFile file(QDir(pictures).filePath(QString::fromUtf8(name)));
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(2048 * (1 + int(std::strlen(name))), 'x'));
  }
  QFileDialog dialog(owner, QString(), pictures, QtFileFilter(kOpenFilesFilter));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setViewMode(QFileDialog::Detail);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.resize(640, 400);
  dialog.show();
  auto* model = dialog.findChild<QFileSystemModel*>();
  if (!QTest::qWaitFor([&] { return model != nullptr && model->rowCount(model->index(pictures)) >= 4; }, 10000)) {
    std::fprintf(stderr, "the file dialog did not list the folder\n");
  }
  QTest::qWait(200);  // icons and sizes fill in after the names
  Save(&dialog, folder, "file-dialog.png");
}

// The message at a group's end while the window is away in the notification area, with
// a notification area of the tool's own on the display.
void SaveGroupEndNotice(TCV_Main& main, const QString& folder) {
  const test::TrayHost host(qgetenv("DISPLAY").toStdString());
  if (!QTest::qWaitFor([&] { return main.trayIconShown(); }, 10000)) {
    std::fprintf(stderr, "no notification area came up\n");
    return;
  }
  main.showMinimized();
  if (!QTest::qWaitFor([&] { return main.isHidden(); }, 5000)) std::fprintf(stderr, "the window stayed\n");
  main.groupEnded(5, 4);
  QWidget* notice = nullptr;
  const bool shown = QTest::qWaitFor(
      [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (w->isVisible() && QString::fromLatin1(w->metaObject()->className()) == QStringLiteral("QBalloonTip")) {
            notice = w;
          }
        }
        return notice != nullptr;
      },
      5000);
  if (!shown) {
    std::fprintf(stderr, "no message at the group's end\n");
    return;
  }
  QTest::qWait(300);  // it fades in
  Save(notice, folder, "group-end-notice.png");
  main.restoreFromTray();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QtTranslations translations;
  EnsureTahoma();
  QApplication::setFont(ProgramFont());
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
  QDir().mkpath(folder);
  test::GuiProgram gui(kHistoryRows);
  if (!gui.startAndShow()) return 1;
  TCV_Main& main = gui.main();
  AppContext& ctx = gui.ctx();

  for (const char* path :
       {"/home/anna/Pictures/sunset.png", "/home/anna/Pictures/cat.jpg", "/home/anna/Pictures/trip/mountains.jpg"}) {
    main.CVU_UploadTable().addLine(path);
  }
  ctx.AddLogLine("Полная история загружена", "");
  ctx.AddLogLine("Загружаю изображение%...", " \"sunset.png\" ");
  ctx.AddLogLine("Изображение% загружено", " \"sunset.png\" ");
  main.CVU_PBarFull().setRange(0, 6);
  main.CVU_PBarFull().setPosition(2);
  main.CVU_PBarImage().setPosition(60);
  Save(&main, folder, "main-upload.png");

  FillRunHistory(ctx, main);
  Find<QTabWidget>(main, "CV_AOPager")->setCurrentIndex(1);
  main.historyView().selectItem(3);
  Save(&main, folder, "main-history.png");
  // The list as the Tab key reaches it: the focus frame on the current row.
  QApplication::setActiveWindow(&main);
  Find<QTreeView>(main, "CV_Links_Table")->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  Save(&main, folder, "main-history-keyboard.png");
  CVU_HistoryBtnClick(ctx);
  Save(&main, folder, "main-history-full.png");
  CVU_HistoryBtnClick(ctx);
  main.historyView().selectItem(3);
  Find<QMenu>(main, "CV_Links_Menu")
      ->popup(Find<QTreeView>(main, "CV_Links_Table")->viewport()->mapToGlobal(QPoint(60, 60)));
  QApplication::processEvents();
  Save(Find<QMenu>(main, "CV_Links_Menu"), folder, "history-menu.png");
  Find<QMenu>(main, "CV_Links_Menu")->hide();

  Find<QTabWidget>(main, "CV_AOPager")->setCurrentIndex(2);
  const char* sheets[] = {"main-profile-program.png", "main-profile-account.png", "main-profile-owncode.png"};
  main.CVU_MYV1().setText("[url=%FP%][img]%TPIC%[/img][/url]");
  main.CVU_MYV2().setText("<a href=\"%P%\">%FN%</a>\r\n%D%");
  for (int sheet = 0; sheet < 3; ++sheet) {
    Find<QTreeWidget>(main, "CVU_OptionsList")
        ->setCurrentItem(Find<QTreeWidget>(main, "CVU_OptionsList")->topLevelItem(sheet));
    main.CVU_OptionsListClick();
    Save(&main, folder, sheets[sheet]);
  }
  Find<QTabWidget>(main, "CV_AOPager")->setCurrentIndex(3);
  Save(&main, folder, "main-about.png");

  main.historyView().selectItem(2);
  ShowLinksWindow(ctx, gui.program->links());
  Save(&gui.program->links(), folder, "links-window.png");
  main.historyView().selectItem(1);
  ShowLinksWindow(ctx, gui.program->links());
  Save(&gui.program->links(), folder, "links-window-no-thumbnail.png");
  gui.program->upOptions().showWindow();
  Save(&gui.program->upOptions(), folder, "upload-options.png");
  gui.program->bigLog().showWindow();
  Save(&gui.program->bigLog(), folder, "big-log.png");
  gui.program->bigLog().hide();
  SaveFileDialog(&main, folder);
  SaveGroupEndNotice(main, folder);
  return 0;
}
