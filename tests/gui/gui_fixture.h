#pragma once
// The real program with its real windows over a fresh database made from the schema,
// with a fixed clock and desktop fakes for the clipboard and the dialogs.
#include <QObject>
#include <QString>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/program.h"
#include "common/identity.h"
#include "service/photo_service.h"
#include "support/test_support.h"

namespace cvu::test {

struct GuiProgram {
  TempDir dir;
  FixedClock clock;
  FakeClipboard clipboard;
  FakeDialogs dialogs;
  std::string dbPath;
  std::unique_ptr<Program> program;

  // setupSql runs on the new database before the program starts. withSchema false:
  // the database file is made from setupSql alone.
  explicit GuiProgram(const std::string& setupSql = "", bool withSchema = true);
  ~GuiProgram();

  // Starts the program (FormCreate and the other windows); returns start()'s answer.
  bool start();
  // Starts and shows the main window, waiting until it is exposed.
  bool startAndShow();

  TCV_Main& main() { return program->main(); }
  AppContext& ctx() { return program->context(); }
  // A text read back from the database file.
  std::string stored(const std::string& sql) const;
  // The log lines without their time stamps.
  std::vector<std::string> logBodies();
};

// The local photo-hosting service on a free port, with the program pointed at it for the
// object's life.
struct LocalService {
  TempDir data;
  service::PhotoService service{{data.path(), VersionText}};
  int port = service.start(0);
  LocalService() { SetServiceHost("localhost:" + std::to_string(port)); }
  ~LocalService() { SetServiceHost(kDefaultServiceHost); }
  LocalService(const LocalService&) = delete;
  LocalService& operator=(const LocalService&) = delete;
};

// A run-history record of an upload group, with a thumbnail when thumb is not "0".
HistoryRecord RunRecord(const std::string& id, int group, const std::string& thumb = "0");

// The object under root that carries the control name; a missing one fails the test.
template <class W>
W* Find(QObject& root, const char* name) {
  W* found = root.findChild<W*>(QString::fromLatin1(name));
  if (found == nullptr) {
    const std::string message = std::string("no ") + W::staticMetaObject.className() + " named " + name;
    QTest::qFail(message.c_str(), __FILE__, __LINE__);
    throw std::runtime_error(message);
  }
  return found;
}

// Texts of the core (UTF-8) as QString, for QCOMPARE.
inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace cvu::test
