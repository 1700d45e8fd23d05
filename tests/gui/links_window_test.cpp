// The links window's two layouts and texts, and the upload options window.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "common/identity.h"
#include "gui_fixture.h"
#include "links/history_page.h"
#include "links/links_window.h"
#include "upload/upload_options.h"

using namespace cvu;
using cvu::test::Find;
using cvu::test::GuiProgram;
using cvu::test::Q;
using cvu::test::RunRecord;

namespace {

// A widget of the links window's row: its field CV_Links_0<row>, or the caption or copy
// button named after the field.
template <class W>
W* RowWidget(TCV_Links& links, int row, const char* suffix = "") {
  const std::string name = "CV_Links_0" + std::to_string(row) + suffix;
  return Find<W>(links, name.c_str());
}

}  // namespace

class LinksWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    gui_ = std::make_unique<GuiProgram>();
    QVERIFY(gui_->startAndShow());
    auto& records = gui_->ctx().history.RunHistory;
    records.push_back(RunRecord("nothumb", 0, "0"));
    records.push_back(RunRecord("withthumb", 0, "withthumb.th.png"));
    gui_->main().CV_Links_Table().addGroup(0, "Группа 1");
    FillHistoryView(gui_->ctx().main.CV_Links_Table(), gui_->ctx().history, false);
  }
  void cleanup() { gui_.reset(); }

  void layouts_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("thumbRow");
    QTest::addColumn<QList<int>>("labelTops");
    QTest::addColumn<QList<int>>("fieldTops");
    QTest::newRow("thumbnail") << 1 << 468 << true << QList<int>{9, 55, 101, 147, 195, 273, 351}
                               << QList<int>{28, 74, 120, 166, 214, 292, 370};
    QTest::newRow("no thumbnail") << 0 << 420 << false << QList<int>{9, 55, 101, -1, 147, 225, 303}
                                  << QList<int>{28, 74, 120, -1, 166, 244, 322};
  }

  void layouts() {
    QFETCH(int, item);
    QFETCH(int, height);
    QFETCH(bool, thumbRow);
    QFETCH(QList<int>, labelTops);
    QFETCH(QList<int>, fieldTops);
    TCV_Links& links = gui_->program->links();
    gui_->main().historyView().selectItem(item);
    ShowLinksWindow(gui_->ctx(), links);
    QVERIFY(links.isVisible());
    QCOMPARE(links.windowTitle(), QStringLiteral("Ссылки на изображение"));
    QCOMPARE(links.outerHeight(), height);
    QCOMPARE(links.width() + TCV_Links::kFrameWidth, 445);
    QCOMPARE(links.minimumSize(), links.maximumSize());
    QVERIFY(!(links.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QCOMPARE(links.rowVisible(4), thumbRow);
    QCOMPARE(RowWidget<QWidget>(links, 4)->isVisible(), thumbRow);
    for (int row = 1; row <= 7; ++row) {
      if (labelTops[row - 1] < 0) continue;
      QCOMPARE(RowWidget<QLabel>(links, row, "_Label")->y(), labelTops[row - 1]);
      QCOMPARE(RowWidget<QLabel>(links, row, "_Label")->x(), row == 1 ? 12 : 28);
      QCOMPARE(RowWidget<QWidget>(links, row)->geometry(), QRect(15, fieldTops[row - 1], 354, row >= 5 ? 53 : 24));
      QCOMPARE(RowWidget<QToolButton>(links, row, "_Copy")->geometry(), QRect(392, fieldTops[row - 1], 26, 24));
    }
  }

  void textsWithAndWithoutThumbnail() {
    TCV_Links& links = gui_->program->links();
    const QString h = Q(ServiceHost());
    gui_->main().historyView().selectItem(1);
    ShowLinksWindow(gui_->ctx(), links);
    QCOMPARE(Q(links.field(1).text()), "http://" + h + "/i-withthumb");
    QCOMPARE(Q(links.field(2).text()), "http://" + h + "/f-withthumb");
    QCOMPARE(Q(links.field(3).text()), "http://i1." + h + "/withthumb.png");
    QCOMPARE(Q(links.field(4).text()), "http://i1." + h + "/withthumb.th.png");
    QCOMPARE(Q(links.field(5).text()), "<a href=\"http://" + h +
                                           "/f-withthumb\" target=\"_blank\"><img src=\"http://i1." + h +
                                           "/withthumb.th.png\" /></a>");
    QCOMPARE(Q(links.field(6).text()),
             "[url=http://" + h + "/f-withthumb][img]http://i1." + h + "/withthumb.th.png[/img][/url]");
    QCOMPARE(RowWidget<QLineEdit>(links, 1)->isReadOnly(), true);
    QCOMPARE(RowWidget<QPlainTextEdit>(links, 5)->isReadOnly(), true);

    gui_->main().historyView().selectItem(0);
    ShowLinksWindow(gui_->ctx(), links);
    QCOMPARE(Q(links.field(4).text()), QStringLiteral("http://"));
    QCOMPARE(Q(links.field(5).text()), "<a href=\"http://" + h + "/f-nothumb\" target=\"_blank\"><img src=\"" +
                                           Q(links.field(3).text()) + "\" /></a>");
    QCOMPARE(links.rowLabelTop(5), 147);

    gui_->main().historyView().selectItem(1);  // and back: rows 5 to 7 move down again
    ShowLinksWindow(gui_->ctx(), links);
    QCOMPARE(links.rowLabelTop(5), 195);
    QCOMPARE(links.rowFieldTop(7), 370);
    QVERIFY(links.rowVisible(4));
  }

  void copyButtonCopiesTheFieldAsShown() {
    TCV_Links& links = gui_->program->links();
    gui_->main().historyView().selectItem(1);
    ShowLinksWindow(gui_->ctx(), links);
    QTest::mouseClick(RowWidget<QToolButton>(links, 5, "_Copy"), Qt::LeftButton);
    QCOMPARE(Q(gui_->clipboard.text().value_or("")), Q(links.field(5).text()));
    QVERIFY(Q(links.field(5).text()).contains('"'));
    QCOMPARE(RowWidget<QToolButton>(links, 5, "_Copy")->cursor().shape(), Qt::PointingHandCursor);
  }

  void ownCodeRowFollowsTheProfileChoice() {
    TCV_Main& m = gui_->main();
    TCV_Links& links = gui_->program->links();
    Find<QComboBox>(m, "CVU_LinkMycodeID")->setCurrentIndex(1);
    m.historyView().selectItem(0);
    ShowLinksWindow(gui_->ctx(), links);
    QCOMPARE(Q(links.field(7).text()), QString());
    QVERIFY(gui_->clipboard.history.empty());
    m.CVU_MYV2().setText("%P%");
    ShowLinksWindow(gui_->ctx(), links);
    QCOMPARE(Q(links.field(7).text()), Q("http://" + ServiceHost() + "/i-nothumb"));
    QCOMPARE(Q(gui_->clipboard.text().value_or("")), Q(links.field(7).text()));
  }

  void uploadOptionsStartInTheirInitialStates() {
    TCV_UpOptions& w = gui_->program->upOptions();
    QCOMPARE(w.windowTitle(), QStringLiteral("Настройки загрузок"));
    QCOMPARE(w.size(), QSize(384, 246));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.CVU_Ef_Quality().value(), 80);
    QVERIFY(!w.CVU_Ef_Quality().enabled());
    QCOMPARE(w.CVU_Ef_Filter().itemCount(), 9);
    QCOMPARE(Q(w.CVU_Ef_Filter().itemText(w.CVU_Ef_Filter().itemIndex())), QStringLiteral("Нет фильтра"));
    QVERIFY(!w.CVU_Ef_Filter().enabled());
    QCOMPARE(w.CVU_Ef_Album().itemCount(), 0);
    QVERIFY(w.CVU_Ef_Album().enabled());
    QVERIFY(w.CVU_Ef_EffOff().checked());
    QVERIFY(!w.CVU_Ef_Published().checked());
    QCOMPARE(Find<QComboBox>(w, "CVU_Ef_Filter")->maxVisibleItems(), 10);
    const UploadOptionValues sent = ReadUploadOptions(w);
    QCOMPARE(Q(sent.quality + "|" + sent.filter + "|" + sent.album_id + "|" + sent.nod + "|" + sent.published),
             QStringLiteral("80|2||on|off"));
  }

  void noConversionBoxEnablesQualityAndFilter() {
    TCV_UpOptions& w = gui_->program->upOptions();
    w.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCheckBox* box = Find<QCheckBox>(w, "CVU_Ef_EffOff");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QVERIFY(w.CVU_Ef_Quality().enabled());
    QVERIFY(w.CVU_Ef_Filter().enabled());
    Find<QComboBox>(w, "CVU_Ef_Filter")->setCurrentIndex(3);
    w.CVU_Ef_Quality().setValue(55);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QVERIFY(!w.CVU_Ef_Quality().enabled());
    QVERIFY(!w.CVU_Ef_Filter().enabled());
    const UploadOptionValues sent = ReadUploadOptions(w);
    QCOMPARE(Q(sent.quality + "|" + sent.filter + "|" + sent.nod), QStringLiteral("55|5|on"));
    w.CVU_Ef_Quality().setValue(500);  // the spin edit keeps to 5..100
    QCOMPARE(w.CVU_Ef_Quality().value(), 100);
  }

 private:
  std::unique_ptr<GuiProgram> gui_;
};

QTEST_MAIN(LinksWindowTest)
#include "links_window_test.moc"
