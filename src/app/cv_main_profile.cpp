// The profile page: the option tree and its three tab-less sheets.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/cv_main.h"
#include "app/default_buttons.h"
#include "app/line_height_delegate.h"
#include "app/logo_widget.h"
#include "app/object_names.h"
#include "app/widget_colours.h"
#include "common/identity.h"
#include "common/profile_items.h"
#include "common/text.h"
#include "store/settings.h"

namespace cvu {
namespace {

QComboBox* DropDownList(const std::vector<std::string>& items, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(false);
  for (const auto& item : items) combo->addItem(ToQt(item));
  combo->setCurrentIndex(0);
  return combo;
}

QLabel* BigFigure(const char* figure, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(figure), parent);
  QFont font = label->font();
  font.setPointSize(22);
  font.setBold(true);
  label->setFont(font);
  SetTextColour(label, QColor(0x7a, 0x8a, 0xa6));
  label->setFixedWidth(28);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

// The placeholder list of the own-code sheet, with the service's host in its examples.
// Like the text of a form description it ends in a line break, which the first
// showing of the window trims away.
QString MyCodeHelpText() {
  const std::string host = ServiceHost();
  const std::string text = "%P%      - http://" + host + "/i-a1b2cd34e567\n" + "%FP%     - http://" + host +
                           "/f-a1b2cd34e567\n" + "%PIC%   - http://i1." + host + "/a1b2cd34e567.png\n" +
                           "%TPIC% - http://i1." + host +
                           "/a1b2cd34e567.th.png (если превью нет, то выводиться %PIC%)\n"
                           "%ID%     - a1b2cd34e567.png\n"
                           "%FN%    - my_best_pic.png\n"
                           "%A%      - Мой альбом\n"
                           "%D%      - 1 Январь 2059 г. 23:59:59 (дата загрузки фотокарточки)\n";
  return ToQt(text);
}

}  // namespace

QWidget* TCV_Main::buildProfilePage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(6);
  w_.optionsList = Spoken(Named(new QTreeWidget(page), "CVU_OptionsList"), "Разделы профиля");
  w_.optionsList->setFixedWidth(153);
  w_.optionsList->setHeaderHidden(true);
  w_.optionsList->setRootIsDecorated(false);
  w_.optionsList->setItemsExpandable(false);
  w_.optionsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  w_.optionsList->setSelectionBehavior(QAbstractItemView::SelectRows);
  w_.optionsList->setItemDelegate(new LineHeightDelegate(20, w_.optionsList));
  const char* const nodes[] = {"Программа", "Аутентификация", "Свой код"};
  for (int sheet = 1; sheet <= 3; ++sheet) {
    auto* node = new QTreeWidgetItem(w_.optionsList, QStringList(QString::fromUtf8(nodes[sheet - 1])));
    node->setData(0, Qt::UserRole, sheet);
  }
  w_.optionsBox = Named(new QStackedWidget(page), "CVU_OptionsBox");
  w_.optionsBox->addWidget(buildProgramSheet());
  w_.optionsBox->addWidget(buildAccountSheet());
  w_.optionsBox->addWidget(buildOwnCodeSheet());
  w_.optionsBox->setCurrentIndex(0);
  layout->addWidget(w_.optionsList);
  layout->addWidget(w_.optionsBox, 1);
  return page;
}

void TCV_Main::trimMyCodeHelp() {
  runHandler([this] { w_.myCodeHelp->setPlainText(ToQt(TrimControl(FromQt(w_.myCodeHelp->toPlainText())))); });
}

QWidget* TCV_Main::buildProgramSheet() {
  auto* sheet = Named(new QWidget, "TabSheet1");
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  auto box = [&](const char* name, const char* caption) {
    auto* check = Named(new QCheckBox(QString::fromUtf8(caption), sheet), name);
    layout->addWidget(check);
    return check;
  };
  w_.confirmDelete = box("CVU_ConfirmDelete", "Запрос при удалении изображений из списка");
  w_.titleInfo = box("CVU_TitleInfo", "Информация по загрузкам в заголовке");
  w_.autoUpload = box("CVU_AutoUpload", "Разрешить автоматическую загрузку с подтверждением");
  w_.startAutoUpload =
      Named(new QCheckBox(QStringLiteral("Загружать сразу без подтверждения"), sheet), "CVU_StartAutoUpload");
  w_.startAutoUpload->setEnabled(false);
  // Indented under the box it depends on (a check box ignores its own margins).
  auto* indented = new QHBoxLayout;
  indented->addSpacing(18);
  indented->addWidget(w_.startAutoUpload, 1);
  layout->addLayout(indented);
  w_.sendAnonymous = box("CVU_SendAnonymous", "Отсылать фотокарточки анонимно (если вы авторизованны)");
  layout->addSpacing(6);
  auto* actionLabel =
      new QLabel(QStringLiteral("Автоматическое действие по завершению загрузки группы изображений:"), sheet);
  actionLabel->setWordWrap(true);
  layout->addWidget(actionLabel);
  w_.autoAction = Named(DropDownList(AutoActionItems(), sheet), "CVU_AutoAction");
  actionLabel->setBuddy(w_.autoAction);
  layout->addWidget(w_.autoAction);
  auto* linksLabel = new QLabel(QStringLiteral("Использовать в окошке \"Ссылки на изображение\":"), sheet);
  layout->addWidget(linksLabel);
  w_.linkMycodeId = Named(DropDownList(LinkMycodeItems(), sheet), "CVU_LinkMycodeID");
  linksLabel->setBuddy(w_.linkMycodeId);
  layout->addWidget(w_.linkMycodeId);
  layout->addStretch(1);

  confirmDelete_ = std::make_unique<QtCheckBox>(w_.confirmDelete);
  titleInfo_ = std::make_unique<QtCheckBox>(w_.titleInfo);
  autoUpload_ = std::make_unique<QtCheckBox>(w_.autoUpload);
  startAutoUpload_ = std::make_unique<QtCheckBox>(w_.startAutoUpload);
  sendAnonymous_ = std::make_unique<QtCheckBox>(w_.sendAnonymous);
  autoAction_ = std::make_unique<QtComboBox>(w_.autoAction);
  linkMycodeId_ = std::make_unique<QtComboBox>(w_.linkMycodeId);
  return sheet;
}

QWidget* TCV_Main::buildAccountSheet() {
  auto* sheet = Named(new QWidget, "TabSheet2");
  auto* layout = new QGridLayout(sheet);
  layout->setContentsMargins(10, 8, 6, 6);
  layout->setVerticalSpacing(6);
  w_.authResetBtn = Named(new QToolButton(sheet), "CVU_AuthResetBtn");
  w_.authResetBtn->setAutoRaise(true);
  w_.authResetBtn->setIcon(ResetIcon());
  // Only the picture shows; its text is the hint, so both windows give the same caption.
  w_.authResetBtn->setText(InitialText("CVU_AuthResetBtn"));
  w_.authResetBtn->setToolTip(InitialText("CVU_AuthResetBtn"));
  layout->addWidget(w_.authResetBtn, 0, 2, Qt::AlignRight | Qt::AlignTop);
  auto* loginLabel = new QLabel(QStringLiteral("Логин"), sheet);
  layout->addWidget(loginLabel, 1, 0);
  w_.userName = Named(new QLineEdit(sheet), "CVU_UserName");
  loginLabel->setBuddy(w_.userName);
  layout->addWidget(w_.userName, 1, 1, 1, 2);
  auto* passwordLabel = new QLabel(QStringLiteral("Пароль"), sheet);
  layout->addWidget(passwordLabel, 2, 0);
  w_.userSecure = Named(new QLineEdit(sheet), "CVU_UserSecure");  // shown in plain characters
  passwordLabel->setBuddy(w_.userSecure);
  layout->addWidget(w_.userSecure, 2, 1, 1, 2);
  auto* userSave = Named(new QCheckBox(QStringLiteral("Сохранять логин и пароль"), sheet), "CVU_UserSave");
  layout->addWidget(userSave, 3, 1, 1, 2);
  w_.authBtn = Named(new QPushButton(InitialText("CVU_AuthBtn"), sheet), "CVU_AuthBtn");
  w_.authBtn->setAutoDefault(false);
  layout->addWidget(w_.authBtn, 4, 1, 1, 2);
  MakeFieldsDefaultButton({w_.userName, w_.userSecure}, w_.authBtn);
  w_.authLabel = Named(new QLabel(InitialText("CVU_AuthLabel"), sheet), "CVU_AuthLabel");
  w_.authLabel->setAlignment(Qt::AlignCenter);
  w_.authLabel->setVisible(MainCaption("CVU_AuthLabel").visible);
  layout->addWidget(w_.authLabel, 5, 0, 1, 3);
  w_.authBar = Named(new QProgressBar(sheet), "CVU_AuthBar");
  w_.authBar->setRange(0, 0);  // marquee
  w_.authBar->setTextVisible(false);
  w_.authBar->setFixedHeight(14);
  w_.authBar->hide();
  layout->addWidget(w_.authBar, 6, 0, 1, 3);
  layout->setRowStretch(7, 1);
  layout->setColumnStretch(1, 1);

  userName_ = std::make_unique<QtLineText>(w_.userName);
  userSecure_ = std::make_unique<QtLineText>(w_.userSecure);
  userSave_ = std::make_unique<QtCheckBox>(userSave);
  authBtn_ = std::make_unique<QtButton>(w_.authBtn);
  authResetBtn_ = std::make_unique<QtButton>(w_.authResetBtn);
  authBar_ = std::make_unique<QtProgressBar>(w_.authBar, true);
  authLabel_ = std::make_unique<QtStatusLabel>(w_.authLabel);
  authLabel_->setColour(Rgb{0, 128, 0});
  return sheet;
}

QWidget* TCV_Main::buildOwnCodeSheet() {
  auto* sheet = Named(new QWidget, "TabSheet3");
  auto* layout = new QGridLayout(sheet);
  layout->setContentsMargins(2, 4, 2, 2);
  layout->setHorizontalSpacing(4);
  layout->setVerticalSpacing(4);
  const char* const figures[] = {"1", "2", "3"};
  const char* const names[] = {"CVU_MYV1", "CVU_MYV2", "CVU_MYV3"};
  for (int i = 0; i < 3; ++i) {
    auto* editor = Named(new QPlainTextEdit(sheet), names[i]);
    editor->setAccessibleName(QStringLiteral("Свой код %1").arg(i + 1));
    editor->setTabChangesFocus(true);  // Tab goes on to the next control, as everywhere
    editor->setFixedSize(355, 45);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(BigFigure(figures[i], sheet), i, 0);
    layout->addWidget(editor, i, 1, Qt::AlignLeft);
    myv_[i] = std::make_unique<QtMemoText>(editor);
  }
  w_.myCodeHelp = Spoken(Named(new QPlainTextEdit(sheet), "CVU_MyCodeHelp"), "Подстановки своего кода");
  w_.myCodeHelp->setReadOnly(true);
  w_.myCodeHelp->setTabChangesFocus(true);
  w_.myCodeHelp->setLineWrapMode(QPlainTextEdit::NoWrap);
  w_.myCodeHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetFieldBackground(w_.myCodeHelp, QColor(0xec, 0xec, 0xec));
  w_.myCodeHelp->setPlainText(MyCodeHelpText());
  layout->addWidget(w_.myCodeHelp, 3, 0, 1, 2);
  w_.myCodeSaveBtn = Named(new QToolButton(sheet), "CVU_MyCodeSaveBtn");
  w_.myCodeSaveBtn->setIcon(SaveIcon());
  w_.myCodeSaveBtn->setToolTip(QStringLiteral("Сохранить свой код"));
  w_.myCodeSaveBtn->setAccessibleName(w_.myCodeSaveBtn->toolTip());
  w_.myCodeSaveBtn->setIconSize(QSize(20, 20));
  w_.myCodeSaveBtn->setCursor(Qt::PointingHandCursor);
  layout->addWidget(w_.myCodeSaveBtn, 4, 0, 1, 2, Qt::AlignLeft);
  layout->setRowStretch(3, 1);
  return sheet;
}

void TCV_Main::CVU_OptionsListClick() {
  const QList<QTreeWidgetItem*> selected = w_.optionsList->selectedItems();
  if (selected.size() != 1) return;
  const int sheet = selected.first()->data(0, Qt::UserRole).toInt();
  if (sheet >= 1 && sheet <= 3) w_.optionsBox->setCurrentIndex(sheet - 1);
}

}  // namespace cvu
