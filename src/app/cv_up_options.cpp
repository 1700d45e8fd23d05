#include "app/cv_up_options.h"

#include <QGridLayout>

#include "app/object_names.h"
#include "upload/upload_options.h"

namespace cvu {

TCV_UpOptions::TCV_UpOptions(QWidget* owner)
    : SecondaryWindow(
          owner, Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("CV_UpOptions"));
  setWindowTitle(QStringLiteral("Настройки загрузок"));
  setFixedSize(384, 246);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setVerticalSpacing(6);
  int row = 0;
  auto add = [&](const char* caption, QWidget* control) {
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setBuddy(control);
    layout->addWidget(label, row, 0);
    layout->addWidget(control, row++, 1);
  };
  auto* quality = Named(new QSpinBox(this), "CVU_Ef_Quality");
  quality->setRange(5, 100);
  add("Качество", quality);
  filterBox_ = Named(new QComboBox(this), "CVU_Ef_Filter");
  filterBox_->setMaxVisibleItems(10);
  add("Фильтр", filterBox_);
  auto* thText = Named(new QLineEdit(this), "CVU_Ef_ThText");
  add("Текст на превью", thText);
  auto* title = Named(new QLineEdit(this), "CVU_Ef_Title");
  add("Название (описание)", title);
  auto* album = Named(new QComboBox(this), "CVU_Ef_Album");
  album->setMaxVisibleItems(10);
  add("Альбом", album);
  effOffBox_ = Named(new QCheckBox(QStringLiteral("Загружать без преобразований и эффектов"), this), "CVU_Ef_EffOff");
  layout->addWidget(effOffBox_, row++, 0, 1, 2);
  auto* published = Named(new QCheckBox(QStringLiteral("Публиковать в галлерею"), this), "CVU_Ef_Published");
  layout->addWidget(published, row++, 0, 1, 2);
  layout->setRowStretch(row, 1);
  layout->setColumnStretch(1, 1);

  quality_ = std::make_unique<QtSpinEdit>(quality);
  filter_ = std::make_unique<QtValueComboBox>(filterBox_);
  thText_ = std::make_unique<QtLineText>(thText);
  title_ = std::make_unique<QtLineText>(title);
  album_ = std::make_unique<QtValueComboBox>(album);
  effOff_ = std::make_unique<QtCheckBox>(effOffBox_);
  published_ = std::make_unique<QtCheckBox>(published);
  ResetUploadOptions(*this);
  connect(effOffBox_, &QCheckBox::clicked, this, [this] { CVU_Ef_EffOffClick(*this); });
}

}  // namespace cvu
