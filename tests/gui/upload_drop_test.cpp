// Files dropped on the real window are uploaded to the local service, listed in their
// group on the history page, and their BB codes are on the clipboard.
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <fstream>

#include "common/identity.h"
#include "gui_fixture.h"
#include "links/link_forms.h"
#include "service/photo_service.h"
#include "upload/upload_worker.h"

using namespace cvu;
using cvu::test::GuiProgram;
using cvu::test::Q;

class UploadDropTest : public QObject {
  Q_OBJECT

 private slots:
  void droppedFilesAreUploadedGroupedAndCopied() {
    test::LocalService local;
    QVERIFY(local.port > 0);

    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    MainControls& m = gui.main();
    m.CVU_AutoUpload().setChecked(true);
    m.CVU_StartAutoUpload().setEnabled(true);
    m.CVU_StartAutoUpload().setChecked(true);
    m.CVU_AutoAction().setItemIndex(4);  // BB codes

    QMimeData mime;
    QList<QUrl> urls;
    for (const char* name : {"first.jpg", "second.PNG", "notes.txt"}) {
      const std::string path = gui.dir.file(name);
      std::ofstream(path, std::ios::binary) << std::string(20000, 'p');
      urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    mime.setUrls(urls);
    // As the desktop delivers it: the window accepts the drag, then takes the drop.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&gui.main(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&gui.main(), &drop);
    QVERIFY(drop.isAccepted());

    AppContext& ctx = gui.ctx();
    QTRY_VERIFY_WITH_TIMEOUT(ctx.history.RunHistory.count() == 2 && !ctx.upload.Uploading && ctx.uploadWorkers.idle(),
                             20000);
    QCOMPARE(Q(ctx.history.RunHistory.at(0).base_file), QStringLiteral("first.jpg"));
    QCOMPARE(Q(ctx.history.RunHistory.at(1).base_file), QStringLiteral("second.PNG"));

    HistoryModel& model = gui.main().historyView().model();
    model.flush();
    QVERIFY(model.grouped());
    QCOMPARE(Q(model.groupHeader(0)), QStringLiteral("Группа 1 (8 Декабрь 2026 г. 0:09:04)"));
    QCOMPARE(Q(model.groupSubtitle(0)), QStringLiteral("Изображений: 2, Загружено: 8 Декабрь 2026 г. 0:09:04"));
    QCOMPARE(model.rowCount(model.indexOfGroup(0)), 2);

    const std::string expected = BbCode(ctx.history.RunHistory.at(0)) + "\r\n" + BbCode(ctx.history.RunHistory.at(1));
    QCOMPARE(Q(gui.clipboard.text().value_or("")), Q(expected));
    QCOMPARE(Q(m.CVU_UploadBtn().caption()), QStringLiteral("Загрузить"));
    QCOMPARE(m.CVU_UploadTable().count(), 0);
    QCOMPARE(gui.stored("SELECT COUNT(*) FROM CVU_HISTORY"), std::string("2"));
  }

  // Linux names are bytes: one that is not UTF-8 reaches the service as it is on disk.
  void aDroppedNameThatIsNotUtf8IsUploadedByItsBytes() {
    test::LocalService local;
    QVERIFY(local.port > 0);

    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    const std::string path = gui.dir.file("\xff\xfe photo.jpg");
    std::ofstream(path, std::ios::binary) << std::string(5000, 'p');
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"),
                 "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&gui.main(), &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&gui.main(), &drop);
    MainControls& m = gui.main();
    QCOMPARE(m.CVU_UploadTable().count(), 1);
    QCOMPARE(QByteArray::fromStdString(m.CVU_UploadTable().line(0)), QByteArray::fromStdString(path));

    CVU_UploadBtnClick(gui.ctx());
    AppContext& ctx = gui.ctx();
    QTRY_VERIFY_WITH_TIMEOUT(!ctx.upload.Uploading && ctx.uploadWorkers.idle(), 20000);
    QCOMPARE(ctx.history.RunHistory.count(), 1);
    QCOMPARE(QByteArray::fromStdString(ctx.history.RunHistory.at(0).base_filefolder), QByteArray::fromStdString(path));
  }
};

QTEST_MAIN(UploadDropTest)
#include "upload_drop_test.moc"
