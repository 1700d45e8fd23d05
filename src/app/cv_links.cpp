#include "app/cv_links.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/logo_widget.h"
#include "app/object_names.h"
#include "links/links_window.h"

namespace cvu {

TCV_Links::TCV_Links(QWidget* owner, AppContext& ctx)
    : SecondaryWindow(owner, Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ctx_(ctx) {
  setObjectName(QStringLiteral("CV_Links"));
  setWindowTitle(QStringLiteral("Ссылки на изображение"));
  const char* const captions[] = {"Ссылка на просмотр изображения",
                                  "Ссылка на просмотр полного изображения",
                                  "Прямая ссылка на изображение",
                                  "Прямая ссылка на превью",
                                  "HTML-код",
                                  "BB-код",
                                  "Свой код"};
  const int labelTops[] = {9, 55, 101, 147, 195, 273, 351};
  const QIcon copy = CopyIcon();  // one drawing shared by the seven buttons
  for (int row = 1; row <= 7; ++row) buildRow(row, captions[row - 1], labelTops[row - 1], row >= 5, copy);
  // Tab reads each row: its text, then the button that copies it.
  QWidget* previous = nullptr;
  for (int row = 1; row <= 7; ++row) {
    const Row& r = rows_[static_cast<std::size_t>(row)];
    if (previous != nullptr) setTabOrder(previous, r.field);
    setTabOrder(r.field, r.button);
    previous = r.button;
  }
  setOuterHeight(468);  // the layout of the form: thumbnail row shown
}

void TCV_Links::buildRow(int row, const char* caption, int labelTop, bool memo, const QIcon& copyIcon) {
  Row& r = rows_[static_cast<std::size_t>(row)];
  // The field is CV_Links_0<row>; its caption and copy button are named after it.
  const std::string name = "CV_Links_0" + std::to_string(row);
  const QString text = QString::fromUtf8(caption);
  r.label = Named(new QLabel(text, this), (name + "_Label").c_str());
  r.label->adjustSize();
  if (memo) {
    auto* edit = new QPlainTextEdit(this);
    edit->setReadOnly(true);
    edit->setTabChangesFocus(true);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->resize(354, 53);
    r.field = Named(edit, name.c_str());
    r.text = std::make_unique<QtMemoText>(edit);
  } else {
    auto* edit = new QLineEdit(this);
    edit->setReadOnly(true);
    edit->resize(354, 24);
    r.field = Named(edit, name.c_str());
    r.text = std::make_unique<QtLineText>(edit);
  }
  r.label->setBuddy(r.field);
  r.button = Named(new QToolButton(this), (name + "_Copy").c_str());
  r.button->setAutoRaise(true);
  r.button->setIcon(copyIcon);
  r.button->setCursor(Qt::PointingHandCursor);
  r.button->setFocusPolicy(Qt::StrongFocus);
  // An image only: what it copies is its name and its hint.
  r.button->setToolTip(QStringLiteral("Скопировать: ") + text);
  r.button->setAccessibleName(r.button->toolTip());
  r.button->resize(26, 24);
  connect(r.button, &QToolButton::clicked, this, [this, row] { CopyLinksRow(ctx_, *this, row); });
  r.label->move(row == 1 ? 12 : 28, labelTop);
  moveRow(row, labelTop, labelTop + 19);
}

void TCV_Links::setOuterHeight(int height) { setFixedSize(445 - kFrameWidth, height - kFrameHeight); }

void TCV_Links::setRowVisible(int row, bool visible) {
  const Row& r = rows_.at(static_cast<std::size_t>(row));
  for (QWidget* widget : {static_cast<QWidget*>(r.label), r.field, static_cast<QWidget*>(r.button)}) {
    widget->setVisible(visible);
  }
}

bool TCV_Links::rowVisible(int row) const { return !rows_.at(static_cast<std::size_t>(row)).label->isHidden(); }

void TCV_Links::moveRow(int row, int labelTop, int fieldTop) {
  const Row& r = rows_.at(static_cast<std::size_t>(row));
  r.label->move(r.label->x(), labelTop);
  r.field->move(15, fieldTop);
  r.button->move(392, fieldTop);
}

}  // namespace cvu
