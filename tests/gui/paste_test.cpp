// Pasting into the upload list: a picture becomes a PNG file beside the database and is
// uploaded by the automatic start; copied files are filtered as a drop is.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "common/identity.h"
#include "gui_fixture.h"
#include "service/photo_service.h"

namespace cvu::test {

class PasteTest : public QObject {
  Q_OBJECT

  static void PressOnUploadPage(GuiProgram& gui, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    gui.main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&gui.main()));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
  }

 private slots:

  void aPastedPictureIsSavedListedAndUploaded() {
    LocalService local;
    QVERIFY(local.port > 0);
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    MainControls& m = gui.main();
    m.CVU_AutoUpload().setChecked(true);
    m.CVU_StartAutoUpload().setEnabled(true);
    m.CVU_StartAutoUpload().setChecked(true);

    QImage picture(3, 2, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                            qRgb(9, 8, 7),   qRgb(1, 2, 3),   qRgb(250, 251, 252)};
    for (int i = 0; i < 6; ++i) picture.setPixel(i % 3, i / 3, colours[i]);
    QApplication::clipboard()->setImage(picture);
    PressOnUploadPage(gui, Qt::Key_V, Qt::ControlModifier);

    const QString saved = QString::fromStdString(gui.dir.file("pasted/2026-12-08_00-09-04.png"));
    QTRY_VERIFY_WITH_TIMEOUT(gui.ctx().history.RunHistory.count() == 1 && gui.ctx().uploadWorkers.idle(), 20000);
    QImage back(saved);
    QVERIFY(!back.isNull());
    QCOMPARE(back.size(), picture.size());
    for (int i = 0; i < 6; ++i) QCOMPARE(back.pixel(i % 3, i / 3), colours[i]);
    QCOMPARE(Q(gui.ctx().history.RunHistory.at(0).base_filefolder), saved);
    // Only the user may read what was pasted, as the data folder.
    QCOMPARE(static_cast<int>(std::filesystem::status(gui.dir.file("pasted")).permissions()), 0700);
  }

  void copiedFilesOfMixedKindsAreFilteredLikeADrop() {
    GuiProgram gui;
    QVERIFY(gui.startAndShow());
    QList<QUrl> urls;
    for (const char* name : {"a.jpg", "notes.txt", "b.PNG", "c.gif.bak"}) {
      const std::string path = gui.dir.file(name);
      std::ofstream(path) << "x";
      urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    auto* mime = new QMimeData;  // the clipboard takes it
    mime->setUrls(urls);
    QApplication::clipboard()->setMimeData(mime);
    PressOnUploadPage(gui, Qt::Key_Insert, Qt::ShiftModifier);
    ListBox& list = gui.main().CVU_UploadTable();
    QCOMPARE(list.count(), 2);
    QCOMPARE(Q(list.line(0)), Q(gui.dir.file("a.jpg")));
    QCOMPARE(Q(list.line(1)), Q(gui.dir.file("b.PNG")));

    QApplication::clipboard()->setText(QStringLiteral("nothing that fits"));
    PressOnUploadPage(gui, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(list.count(), 2);
    QVERIFY(!QDir(QString::fromStdString(gui.dir.file("pasted"))).exists());
  }
};

}  // namespace cvu::test

QTEST_MAIN(cvu::test::PasteTest)
#include "paste_test.moc"
