// The about page: logo, shadowed title, version, credits and the home-page link.
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "app/cv_main.h"
#include "app/logo_widget.h"
#include "app/object_names.h"
#include "app/widget_colours.h"
#include "common/identity.h"

namespace cvu {

QWidget* TCV_Main::buildAboutPage() {
  auto* page = new QWidget;
  page->setAutoFillBackground(true);
  QPalette palette = page->palette();
  palette.setColor(QPalette::Window, Qt::white);
  page->setPalette(palette);
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addWidget(new LogoWidget(page), 0, Qt::AlignTop);

  auto* text = new QVBoxLayout;
  auto* title = Named(new QLabel(page), "CVU_AboutTitle");  // the text and its shadow are set at start
  QFont titleFont = title->font();
  titleFont.setPointSize(18);
  titleFont.setBold(true);
  title->setFont(titleFont);
  SetTextColour(title, QColor(0x1f, 0x4a, 0x93));
  auto* shadow = new QGraphicsDropShadowEffect(title);
  shadow->setBlurRadius(8);
  shadow->setOffset(2, 2);
  shadow->setColor(QColor(0, 0, 0, 110));
  title->setGraphicsEffect(shadow);
  auto* version = Named(new QLabel(page), "Label5");
  SetTextColour(version, QColor(0x55, 0x55, 0x55));
  auto* credits = new QLabel(QStringLiteral("Клиент фотохостинга Corvane\n"
                                            "Загрузка, история и коды ссылок\n"
                                            "Спасибо всем, кто присылал отзывы"),
                             page);
  credits->setAlignment(Qt::AlignRight);
  w_.homeLink = Named(new QLabel(page), "CVU_HomeLink");
  w_.homeLink->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(ToQt(ServiceHomePage()).toHtmlEscaped()));
  w_.homeLink->setAlignment(Qt::AlignRight);
  w_.homeLink->setCursor(Qt::PointingHandCursor);
  w_.homeLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  text->addWidget(title);
  text->addWidget(version);
  text->addStretch(1);
  text->addWidget(credits);
  text->addSpacing(8);
  text->addWidget(w_.homeLink);
  layout->addLayout(text, 1);

  aboutTitle_ = std::make_unique<QtLabel>(title);
  label5_ = std::make_unique<QtLabel>(version);
  return page;
}

}  // namespace cvu
