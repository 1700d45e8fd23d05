#include "app/qt_controls.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "app/window_placement.h"
#include "common/text.h"

namespace cvu {

QString ToQt(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string FromQt(const QString& text) { return text.toStdString(); }

std::string QtMemoText::text() const { return ReplaceAll(FromQt(edit_->toPlainText()), "\n", "\r\n"); }

void QtMemoText::setText(const std::string& text) {
  edit_->setPlainText(ToQt(ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n")));
}

void QtComboBox::setItemIndex(int index) {
  combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}

void QtComboBox::setItems(const std::vector<std::string>& items) {
  combo_->clear();
  for (const auto& item : items) combo_->addItem(ToQt(item));
  combo_->setCurrentIndex(-1);
}

void QtValueComboBox::setEntries(const std::vector<std::pair<std::string, std::string>>& entries) {
  combo_->clear();
  for (const auto& [text, value] : entries) combo_->addItem(ToQt(text), ToQt(value));
  combo_->setCurrentIndex(-1);
}

QtListBox::QtListBox(QListWidget* list, bool lineHints)
    : list_(list), hints_(lineHints), scroll_(std::make_unique<QTimer>()) {
  scroll_->setSingleShot(true);
  QObject::connect(scroll_.get(), &QTimer::timeout, list_, [this] {
    if (list_->count() > 0) list_->scrollToItem(list_->item(list_->count() - 1));
  });
}

// A line keeps the bytes it was given (a file name need not be UTF-8); the list shows
// them as text.
std::string QtListBox::line(int index) const {
  const QListWidgetItem* item = list_->item(index);
  if (!item) return {};
  const QVariant bytes = item->data(Qt::UserRole);
  return bytes.isValid() ? bytes.toByteArray().toStdString() : FromQt(item->text());
}

void QtListBox::addLine(const std::string& line) {
  auto* item = new QListWidgetItem(ToQt(line));  // owned by the list from here on
  item->setData(Qt::UserRole, QByteArray::fromStdString(line));
  if (hints_) item->setToolTip(item->text());
  list_->addItem(item);
  if (!scroll_->isActive()) scroll_->start();
}

bool QtListBox::isSelected(int index) const {
  const QListWidgetItem* item = list_->item(index);
  return item != nullptr && item->isSelected();
}

void QtListBox::setSelected(int index, bool on) {
  if (QListWidgetItem* item = list_->item(index)) item->setSelected(on);
}

void QtListBox::removeLine(int index) {
  if (index >= 0 && index < list_->count()) delete list_->takeItem(index);
}

std::string QtMenuItem::caption() const {
  return FromQt(action_->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
}

void QtMenuItem::setCaption(const std::string& caption) {
  action_->setText(ToQt(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
}

QtProgressBar::QtProgressBar(QProgressBar* bar, bool marquee)
    : bar_(bar),
      marquee_(marquee),
      min_(bar->minimum()),
      max_(bar->maximum()),
      position_(std::max(bar->value(), bar->minimum())),
      show_(std::make_unique<QTimer>()) {
  if (marquee_) bar_->setRange(0, 0);
  show_->setSingleShot(true);
  show_->setInterval(kShowIntervalMs);
  // A position that came while the widget waited is shown now, and the next one waits
  // again; with nothing new the timer stays off, so a lone change is shown at once.
  QObject::connect(show_.get(), &QTimer::timeout, bar_, [this] {
    if (showPosition()) show_->start();
  });
}

void QtProgressBar::setRange(int minimum, int maximum) {
  min_ = minimum;
  max_ = maximum;
  if (marquee_) return;
  bar_->setRange(min_, std::max(max_, min_ + 1));
  position_ = std::clamp(position_, min_, std::max(max_, min_));
  showPosition();
}

void QtProgressBar::setPosition(int position) {
  if (marquee_) return;
  position_ = std::clamp(position, min_, std::max(max_, min_));
  showPositionLater();
}

void QtProgressBar::showPositionLater() {
  if (show_->isActive()) return;
  if (showPosition()) show_->start();
}

bool QtProgressBar::showPosition() {
  if (bar_->value() == position_) return false;
  // With updates off the widget takes the value without painting; turning them on again
  // schedules one repaint with the window's next painting.
  const bool updates = bar_->updatesEnabled();
  bar_->setUpdatesEnabled(false);
  bar_->setValue(position_);
  bar_->setUpdatesEnabled(updates);
  return true;
}

Rgb QtStatusLabel::colour() const {
  const QColor c = label_->palette().color(QPalette::WindowText);
  return Rgb{c.red(), c.green(), c.blue()};
}

void QtStatusLabel::setColour(Rgb colour) {
  QPalette palette = label_->palette();
  palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
  label_->setPalette(palette);
}

// A stored position out of every screen's reach is moved onto the nearest screen.
void QtWindowFrame::moveTo(int left, int top) { MoveWithinReach(window_, left, top); }

void QtWindowFrame::centreOnDesktop() { CentreOver(window_, nullptr); }

void CentreOver(QWidget* window, const QWidget* owner) {
  const QSize outer = window->frameGeometry().size();
  QRect area;
  if (owner != nullptr) {
    area = owner->frameGeometry();
  } else {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    area = screen->availableGeometry();
  }
  window->move(area.center().x() - outer.width() / 2 + 1, area.center().y() - outer.height() / 2 + 1);
}

}  // namespace cvu
