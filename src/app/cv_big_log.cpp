#include "app/cv_big_log.h"

#include <QVBoxLayout>

#include "app/line_height_delegate.h"
#include "app/object_names.h"
#include "common/identity.h"

namespace cvu {

TCV_BigLog::TCV_BigLog(QWidget* owner, LogLineStore& lines) : SecondaryWindow(owner, Qt::WindowMinMaxButtonsHint) {
  setObjectName(QStringLiteral("CV_BigLog"));
  setWindowTitle(QString::fromUtf8(kProductCaption));
  resize(658, 282);
  setMinimumSize(500, 200);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  widget_ = Spoken(Named(new QListView(this), "CVU_BigLog"), "Расширенный лог");
  widget_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  widget_->setUniformItemSizes(true);
  widget_->setItemDelegate(new LineHeightDelegate(13, widget_));
  layout->addWidget(widget_);
  list_ = std::make_unique<QtLogList>(widget_, lines, kLogBatchMs);
}

}  // namespace cvu
