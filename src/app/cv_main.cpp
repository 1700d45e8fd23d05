#include "app/cv_main.h"

#include <QApplication>
#include <QCloseEvent>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "account/login.h"
#include "account/version_check.h"
#include "app/app_font.h"
#include "app/cv_big_log.h"
#include "app/cv_links.h"
#include "app/cv_up_options.h"
#include "app/local_file.h"
#include "app/logo_widget.h"
#include "app/object_names.h"
#include "common/identity.h"
#include "common/text.h"
#include "common/timestamp.h"
#include "store/settings.h"
#include "upload/upload_list.h"

namespace cvu {

TCV_Main::TCV_Main() {
  setObjectName(QStringLiteral("CV_Main"));
  buildFrame();
  buildLinksMenu();
  buildLogMenu();
  buildUploadMenu();
  wireHandlers();
}

TCV_Main::~TCV_Main() = default;

void TCV_Main::buildFrame() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  // main() gives the application this font; a window made without it sets its own.
  const QFont appFont = QApplication::font();
  if (appFont.family() != QLatin1String(kFontFamily) || appFont.pointSize() != kFontPointSize) setFont(ProgramFont());
  // The client area; with the desktop's frame the window is 600 x 530 outside.
  setFixedSize(584, 492);
  frame_ = std::make_unique<QtWindowFrame>(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  w_.pager = Named(new QTabWidget(this), "CV_AOPager");
  w_.pager->addTab(buildUploadPage(), QStringLiteral("Загрузка изображений"));
  w_.pager->addTab(buildHistoryPage(), QStringLiteral("История"));
  w_.pager->addTab(buildProfilePage(), QStringLiteral("Профиль"));
  w_.pager->addTab(buildAboutPage(), QStringLiteral("О программе"));
  w_.pager->setCurrentIndex(0);
  layout->addWidget(w_.pager, 1);
  layout->addWidget(buildLogList());
  layout->addWidget(buildProgressStrip());
  layout->addWidget(buildStatusBar());
  buildTrayIcon();
}

bool TCV_Main::FormCreate(AppContext& ctx) {
  ctx_ = &ctx;
  ctx.uploadEvents = this;
  setAcceptDrops(true);
  bool keepRunning = true;
  runHandler([&] { keepRunning = LoadSettings(ctx, false); });
  if (!keepRunning) return false;
  tickClock();
  connect(&clockTimer_, &QTimer::timeout, this, &TCV_Main::tickClock, Qt::UniqueConnection);
  clockTimer_.start(1000);
  return true;
}

void TCV_Main::attachWindows(TCV_Links& links, TCV_BigLog& bigLog, TCV_UpOptions& upOptions) {
  links_ = &links;
  bigLog_ = &bigLog;
  upOptions_ = &upOptions;
}

// The first showing: the placeholder list trimmed, the version check started and, with
// saved credentials, the login. The login waits on this thread (answering the window
// meanwhile), so it begins once the showing is over.
void TCV_Main::FormShow() {
  trimMyCodeHelp();
  if (ctx_ == nullptr) return;
  runHandler([this] { StartVersionCheck(*ctx_); });
  if (userSave_->checked()) {
    QTimer::singleShot(0, this, [this] { withContext([](AppContext& ctx) { Login(ctx); }); });
  }
}

void TCV_Main::FormDestroy() {
  if (destroyed_ || ctx_ == nullptr) return;
  destroyed_ = true;
  clockTimer_.stop();
  runHandler([this] { SaveSettings(*ctx_); });
}

void TCV_Main::runHandler(const std::function<void()>& handler) {
  std::string failure;
  try {
    handler();
    return;
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "Unknown error";
  }
  if (ctx_ != nullptr) {
    ctx_->dialogs.showMessage(failure);
  } else {
    QMessageBox::critical(this, QString::fromUtf8(kProductCaption), ToQt(failure));
  }
}

void TCV_Main::withContext(const std::function<void(AppContext&)>& handler) {
  if (ctx_ == nullptr) return;
  runHandler([&] { handler(*ctx_); });
}

void TCV_Main::tickClock() {
  if (ctx_ != nullptr) clock_->setText(FormatTimestamp(ctx_->clock.now()));
}

void TCV_Main::CVU_LOGLISTDblClick() {
  if (bigLog_ != nullptr) bigLog_->showWindow();
}

void TCV_Main::CVU_EffBtnClick() {
  if (upOptions_ != nullptr) upOptions_->showWindow();
}

void TCV_Main::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (formShown_) return;
  formShown_ = true;
  FormShow();
}

// The program ends: requests waiting on this thread (a login, its albums) stop at once,
// so the event loop they hold can return.
void TCV_Main::closeEvent(QCloseEvent* event) {
  if (ctx_) ctx_->http.abort->abort();
  QWidget::closeEvent(event);
}

void TCV_Main::buildTrayIcon() {
  w_.trayIcon = Named(new QSystemTrayIcon(AppLogo(), this), "CV_TrayIcon");
  w_.trayIcon->setToolTip(QString::fromUtf8(kProductCaption));
  connect(w_.trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) restoreFromTray();  // CV_TrayIcon click
  });
  w_.trayIcon->show();
}

void TCV_Main::groupEnded(int files, int uploaded) {
  if (isVisible() || !trayIconShown()) return;
  QString counts = QStringLiteral("Загружено изображений: %1 из %2").arg(uploaded).arg(files);
  if (uploaded < files) counts += QStringLiteral("\nНе загружено изображений: %1").arg(files - uploaded);
  w_.trayIcon->showMessage(QStringLiteral("Изображения загружены"), counts,
                           uploaded < files ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
}

bool TCV_Main::trayIconShown() const {
  return w_.trayIcon != nullptr && w_.trayIcon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TCV_Main::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Minimized, the window lives only in the notification area (no task-bar button).
  if (event->type() == QEvent::WindowStateChange && isMinimized() && trayIconShown()) {
    QTimer::singleShot(0, this, [this] {
      if (isMinimized()) hide();
    });
  }
}

void TCV_Main::restoreFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void TCV_Main::openFiles(const std::vector<std::string>& paths) {
  restoreFromTray();
  if (!paths.empty()) withContext([&](AppContext& ctx) { DropFiles(ctx, paths); });
}

void TCV_Main::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TCV_Main::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(LocalFileBytes(url));
  }
  event->acceptProposedAction();
  if (!paths.empty()) withContext([&](AppContext& ctx) { DropFiles(ctx, paths); });
}

}  // namespace cvu
