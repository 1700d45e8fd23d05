// The program on a desktop: Enter as the default button, secondary windows that
// belong to the main window, Qt's own texts in Russian, the pictures, one running
// program per data folder and the end signals.
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "app/logo_widget.h"
#include "app/qt_dialogs.h"
#include "app/qt_translations.h"
#include "app/signal_exit.h"
#include "app/single_instance.h"
#include "common/identity.h"
#include "gui_fixture.h"
#include "service/photo_service.h"
#include "upload/upload_list.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;
using cvu::test::Q;

namespace {

template <typename T>
T* Find(QWidget& window, const char* name) {
  T* widget = window.findChild<T*>(QString::fromLatin1(name));
  if (widget == nullptr) qFatal("no control %s", name);
  return widget;
}

// The widget that has the keyboard focus, where a key press from the desktop goes.
QWidget* FocusOf(QWidget& window) {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus : &window;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Runs show() (which opens a modal box) while inspect looks at the box that comes up
// and closes it. Gives up after a time limit, closing whatever modal box is open.
void WithModalBox(const std::function<void()>& show, const std::function<void(QWidget*)>& inspect) {
  QTimer poll;
  bool seen = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || seen) return;
    seen = true;
    inspect(box);
  });
  poll.start(10);
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  limit.start(10000);
  show();
  QVERIFY2(seen, "no modal box came up");
}

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

class DesktopProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void enterRightAfterStartOpensTheFileDialog() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    QVERIFY2(qobject_cast<QTabBar*>(QApplication::focusWidget()) != nullptr, "focus is not on the page tabs");
    QTest::keyClick(FocusOf(m), Qt::Key_Return);
    QCOMPARE(gui.dialogs.openFilters, std::vector<std::string>{kOpenFilesFilter});
    QTest::keyClick(FocusOf(m), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(gui.dialogs.openFilters.size(), std::size_t{2});
  }

  void enterOnTheUploadPageFollowsTheFocus() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    TCV_Main& m = gui.main();
    auto* pager = Find<QTabWidget>(m, "CV_AOPager");
    gui.dialogs.openAnswer = {"/home/anna/a.png"};
    // The upload list leaves Enter alone: the default button takes it.
    QWidget* list = Find<QListWidget>(m, "CVU_UploadTable");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(gui.dialogs.openFilters.size(), std::size_t{1});
    QCOMPARE(m.CVU_UploadTable().count(), 1);
    // A focused button takes Enter for itself.
    QWidget* effBtn = Find<QPushButton>(m, "CVU_EffBtn");
    effBtn->setFocus();
    QTest::keyClick(effBtn, Qt::Key_Return);
    QVERIFY(gui.program->upOptions().isVisible());
    QCOMPARE(gui.dialogs.openFilters.size(), std::size_t{1});
    // Disabled while a group is open: Enter does nothing.
    Find<QPushButton>(m, "CVU_OpenFilesBtn")->setEnabled(false);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(gui.dialogs.openFilters.size(), std::size_t{1});
    Find<QPushButton>(m, "CVU_OpenFilesBtn")->setEnabled(true);
    // Another page shown: Enter is not the upload page's.
    pager->setCurrentIndex(1);
    QTest::keyClick(FocusOf(m), Qt::Key_Return);
    pager->setCurrentIndex(2);
    QTest::keyClick(FocusOf(m), Qt::Key_Return);
    QCOMPARE(gui.dialogs.openFilters.size(), std::size_t{1});
  }

  void enterInThePasswordFieldLogsIn() {
    test::LocalService local;
    QVERIFY(local.port > 0);
    {
      GuiProgram gui;
      QVERIFY(gui.startAndShow());
      TCV_Main& m = gui.main();
      Find<QTabWidget>(m, "CV_AOPager")->setCurrentIndex(2);
      auto* tree = Find<QTreeWidget>(m, "CVU_OptionsList");
      tree->setCurrentItem(tree->topLevelItem(1));
      m.CVU_OptionsListClick();
      auto* password = Find<QLineEdit>(m, "CVU_UserSecure");
      QVERIFY(password->isVisible());
      QTest::keyClicks(Find<QLineEdit>(m, "CVU_UserName"), QStringLiteral("demo"));
      QTest::keyClicks(password, QStringLiteral("demo"));
      QTest::keyClick(password, Qt::Key_Return);
      QTRY_VERIFY_WITH_TIMEOUT(Contains(gui.logBodies(), "Авторизация выполнена успешно"), 15000);
      QCOMPARE(Q(gui.ctx().account.user_name), QStringLiteral("demo"));
      QVERIFY(!Find<QPushButton>(m, "CVU_AuthBtn")->isEnabled());
      // Once logged in the button is disabled, and Enter in the login field runs nothing.
      const std::vector<std::string> before = gui.logBodies();
      const auto logins = std::count(before.begin(), before.end(), "Выполняется авторизация...");
      QTest::keyClick(Find<QLineEdit>(m, "CVU_UserName"), Qt::Key_Return);
      const std::vector<std::string> after = gui.logBodies();
      QCOMPARE(std::count(after.begin(), after.end(), "Выполняется авторизация..."), logins);
    }
  }

  void secondaryWindowsBelongToTheMainWindow() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QWidget* windows[] = {&gui.program->links(), &gui.program->bigLog(), &gui.program->upOptions()};
    gui.program->links().showWindow();
    gui.program->bigLog().showWindow();
    gui.program->upOptions().showWindow();
    for (QWidget* window : windows) {
      QVERIFY(QTest::qWaitForWindowExposed(window));
      QVERIFY(window->windowHandle() != nullptr);
      QCOMPARE(window->windowHandle()->transientParent(), gui.main().windowHandle());
      // The X11 desktop marks only dialog-type windows as belonging to their owner.
      QCOMPARE(window->windowType(), Qt::Dialog);
    }
    QVERIFY(gui.program->bigLog().windowFlags() & Qt::WindowMaximizeButtonHint);
  }

  void questionBoxesReadYesAndNoInRussian() {
    const QtTranslations translations;
    QVERIFY2(translations.loaded(), "Qt's Russian translations are not installed (qt6-translations-l10n)");
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QtDialogs dialogs;
    dialogs.setParentWindow(&gui.main());
    QStringList buttons;
    QWidget* owner = nullptr;
    bool onTop = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool answer = true;
    WithModalBox(
        [&] { answer = dialogs.askYesNo(kProductCaption, "Вы хотите начать загрузку изображений из списка?"); },
        [&](QWidget* widget) {
          auto* box = qobject_cast<QMessageBox*>(widget);
          if (box == nullptr) return;
          buttons << Plain(box->button(QMessageBox::Yes)->text()) << Plain(box->button(QMessageBox::No)->text())
                  << box->windowTitle();
          owner = box->parentWidget();
          onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
          icon = box->icon();
          box->button(QMessageBox::No)->click();
        });
    QCOMPARE(buttons, QStringList({"Да", "Нет", "Corvane Uploader X5"}));
    QVERIFY(!answer);
    QCOMPARE(owner, static_cast<QWidget*>(&gui.main()));
    QVERIFY(onTop);
    QCOMPARE(icon, QMessageBox::Question);

    // The save dialog's own texts too.
    QFileDialog save(&gui.main());
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    auto* box = save.findChild<QDialogButtonBox*>();
    QVERIFY(box != nullptr);
    QCOMPARE(Plain(box->button(QDialogButtonBox::Save)->text()), QStringLiteral("Сохранить"));
    QCOMPARE(Plain(box->button(QDialogButtonBox::Cancel)->text()), QStringLiteral("Отмена"));
  }

  // The open-files dialog starts in the user's pictures folder, then where the last
  // files were chosen; never in the program's data folder, where it runs.
  void theOpenFilesDialogStartsInThePicturesThenTheLastFolder() {
    test::TempDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(home.path().string()));
    std::filesystem::create_directories(home.path() / "Pictures");
    std::filesystem::create_directories(home.path() / "trip");
    std::ofstream(home.path() / "trip" / "a.png") << "x";
    QtDialogs dialogs;
    QStringList startedIn;
    const QString chosen = QString::fromStdString((home.path() / "trip" / "a.png").string());
    for (int round = 0; round < 2; ++round) {
      WithModalBox([&] { dialogs.openFiles(kOpenFilesFilter); },
                   [&](QWidget* box) {
                     auto* dialog = qobject_cast<QFileDialog*>(box);
                     QVERIFY(dialog != nullptr);
                     startedIn << QDir(dialog->directory()).canonicalPath();
                     if (round == 1) {
                       dialog->close();
                       return;
                     }
                     dialog->selectFile(chosen);
                     // The dialog reads the folder on a thread of its own: accepted once it has the file.
                     QVERIFY(QTest::qWaitFor([&] { return dialog->selectedFiles() == QStringList{chosen}; }, 5000));
                     QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
                   });
    }
    qputenv("HOME", savedHome);
    const QString root = QString::fromStdString(std::filesystem::canonical(home.path()).string());
    QCOMPARE(startedIn, (QStringList{root + "/Pictures", root + "/trip"}));
  }

  void picturesAreSharpAtTwiceTheScale() {
    for (const QIcon& icon : {AppLogo(), SaveIcon(), ResetIcon(), CopyIcon()}) {
      QVERIFY(!icon.isNull());
      const QPixmap pixmap = icon.pixmap(QSize(32, 32), 2.0);
      QCOMPARE(pixmap.size(), QSize(64, 64));  // drawn at 64 device pixels, not scaled up
      const QImage image = pixmap.toImage();
      QVERIFY(image.pixelColor(32, 32).alpha() > 0);
    }
  }

  void secondStartShowsTheRunningWindow() {
    test::TempDir folder;
    const QString path = QString::fromStdString(folder.path().string());
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    gui.main().showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().isMinimized(), 5000);
    int requests = 0;
    {
      SingleInstance first(path);
      QCOMPARE(first.acquire(), SingleInstance::Start::First);
      QVERIFY(QFile::exists(SingleInstance::lockFileName(path)));
      QVERIFY(first.listen(
          [&] {
            ++requests;
            gui.main().restoreFromTray();
          },
          nullptr));
      // Another folder is another program.
      test::TempDir elsewhere;
      QCOMPARE(SingleInstance(QString::fromStdString(elsewhere.path().string())).acquire(),
               SingleInstance::Start::First);

      std::atomic<int> outcome{-1};  // 0: not answered, 1: answered, 2: got the lock itself
      std::thread second([&] {
        SingleInstance other(path);
        outcome = other.acquire() != SingleInstance::Start::Running ? 2 : other.askRunningToShow(10000) ? 1 : 0;
      });
      QTRY_VERIFY_WITH_TIMEOUT(outcome != -1, 15000);
      second.join();
      QCOMPARE(outcome.load(), 1);
      QCOMPARE(requests, 1);
      QVERIFY(gui.main().isVisible());
      QVERIFY(!gui.main().isMinimized());
    }
    // The end of the first releases the folder.
    QVERIFY(!QFile::exists(SingleInstance::lockFileName(path)));
    SingleInstance next(path);
    QCOMPARE(next.acquire(), SingleInstance::Start::First);
    QVERIFY(!SingleInstance(path).askRunningToShow(300));  // nobody listens: no answer
  }

  // Files given to the launcher reach the running window as a drop: the images are
  // listed in order, the rest skipped, and the window comes to the front.
  void filesHandedOverAreTakenAsADrop() {
    test::TempDir folder;
    const QString path = QString::fromStdString(folder.path().string());
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    gui.main().showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(gui.main().isMinimized(), 5000);
    SingleInstance first(path);
    QCOMPARE(first.acquire(), SingleInstance::Start::First);
    QVERIFY(first.listen(nullptr, [&](const std::vector<std::string>& paths) { gui.main().openFiles(paths); }));
    const std::vector<std::string> given = {"/p/a.png", "/p/notes.txt", "/p/b c\n.JPG", std::string("/p/\xff.gif")};
    std::atomic<int> answered{-1};
    std::thread launcher([&] { answered = SingleInstance(path).askRunningToOpen(given, 10000) ? 1 : 0; });
    QTRY_VERIFY_WITH_TIMEOUT(answered != -1, 15000);
    launcher.join();
    QCOMPARE(answered.load(), 1);
    QCOMPARE(gui.main().CVU_UploadTable().count(), 3);
    QCOMPARE(gui.main().CVU_UploadTable().line(0), std::string("/p/a.png"));
    QCOMPARE(gui.main().CVU_UploadTable().line(1), std::string("/p/b c\n.JPG"));
    QCOMPARE(gui.main().CVU_UploadTable().line(2), std::string("/p/\xff.gif"));
    QVERIFY(!gui.main().isMinimized());
  }

  void lockOfAnEndedProgramDoesNotBlock() {
    test::TempDir folder;
    const QString path = QString::fromStdString(folder.path().string());
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    QVERIFY(ended > 0);
    waitpid(ended, nullptr, 0);
    QFile lock(SingleInstance::lockFileName(path));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(ended) + "\ncorvane-uploader\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    SingleInstance instance(path);
    QCOMPARE(instance.acquire(), SingleInstance::Start::First);
  }

  // A folder where no lock can be made is told apart from a folder another program holds:
  // the start ends with the folder and the reason instead of waiting for an answer.
  void aFolderWithoutRoomForTheLockIsToldNotTakenForARunningProgram() {
    test::TempDir dir;
    const std::string notAFolder = dir.file("data");
    std::ofstream(notAFolder) << "a file where the data folder should be";
    SingleInstance instance(QString::fromStdString(notAFolder));
    QCOMPARE(instance.acquire(), SingleInstance::Start::CannotStart);
    QVERIFY2(instance.failure().contains(QString::fromStdString(notAFolder)), qPrintable(instance.failure()));
    QVERIFY(instance.failure().contains(QStringLiteral("Программа будет закрыта")));
  }

  void endSignalsReachTheEventLoop() {
    HoldEndSignals();
    std::vector<int> received;
    {
      const SignalExit exit([&](int signal) { received.push_back(signal); });
      QVERIFY(exit.active());
      pthread_kill(pthread_self(), SIGHUP);
      QTRY_COMPARE_WITH_TIMEOUT(received, std::vector<int>{SIGHUP}, 5000);
      pthread_kill(pthread_self(), SIGTERM);
      pthread_kill(pthread_self(), SIGINT);
      QTRY_COMPARE_WITH_TIMEOUT(received.size(), std::size_t{3}, 5000);
    }
    std::sort(received.begin(), received.end());
    QCOMPARE(received, (std::vector<int>{SIGHUP, SIGINT, SIGTERM}));
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndSignals) sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  }
};

QTEST_MAIN(DesktopProgramTest)
#include "desktop_program_test.moc"
