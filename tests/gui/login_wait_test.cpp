// The automatic login against a service that takes the connection and never answers:
// the window is on the screen meanwhile, and closing it ends the wait at once.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <QWindow>
#include <chrono>

#include "common/identity.h"
#include "gui_fixture.h"

namespace cvu::test {

// A port whose connections the kernel completes but nobody ever reads or answers.
class SilentService {
 public:
  SilentService() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(fd_, 8);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~SilentService() { ::close(fd_); }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int fd_ = -1;
  int port_ = 0;
};

constexpr const char* kSavedAccount =
    "INSERT INTO CVU_DATA(user_hash, user_id, user_name, user_secure) VALUES('h', '7', 'anna', 'pw');";

class LoginWaitTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { SetServiceHost(kDefaultServiceHost); }

  void theWindowIsOnTheScreenWhileTheAutomaticLoginWaits() {
    SilentService service;
    SetServiceHost(service.host());
    GuiProgram gui(kSavedAccount);
    QVERIFY(gui.start());
    gui.ctx().http.stallTimeout = std::chrono::seconds(3);  // the bound of this test's wait
    bool waited = false;
    bool exposedWhileWaiting = false;
    auto wait = gui.ctx().uiWaitHook;
    gui.ctx().uiWaitHook = [&] {
      waited = true;
      const QWindow* window = gui.main().windowHandle();
      if (window && window->isExposed()) exposedWhileWaiting = true;
      wait();
    };
    gui.program->show();
    QTRY_VERIFY_WITH_TIMEOUT(waited && !gui.ctx().LoginAttempted, 10000);  // the login gave up
    QVERIFY(exposedWhileWaiting);
  }

  void closingTheWindowEndsAWaitingLoginAtOnce() {
    SilentService service;
    SetServiceHost(service.host());
    GuiProgram gui(kSavedAccount);
    QVERIFY(gui.start());
    gui.ctx().http.stallTimeout = std::chrono::seconds(30);  // far longer than the bound below
    QElapsedTimer sinceClose;
    auto wait = gui.ctx().uiWaitHook;
    gui.ctx().uiWaitHook = [&] {
      if (!sinceClose.isValid()) {
        sinceClose.start();
        gui.main().close();
      }
      wait();
    };
    gui.program->show();
    QTRY_VERIFY_WITH_TIMEOUT(sinceClose.isValid() && !gui.ctx().LoginAttempted, 40000);
    QVERIFY2(sinceClose.elapsed() < 5000, qPrintable(QString::number(sinceClose.elapsed())));
    gui.program->finish();
  }
};

}  // namespace cvu::test

QTEST_MAIN(cvu::test::LoginWaitTest)
#include "login_wait_test.moc"
