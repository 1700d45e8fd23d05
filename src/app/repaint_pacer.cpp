#include "app/repaint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace cvu {

RepaintPacer::RepaintPacer(QWidget& window, int intervalMs) : window_(window), intervalMs_(intervalMs) {
  tick_.setSingleShot(true);
  tick_.setTimerType(Qt::PreciseTimer);
  connect(&tick_, &QTimer::timeout, this, [this] { deliver(); });
  window_.installEventFilter(this);
}

RepaintPacer::~RepaintPacer() { window_.removeEventFilter(this); }

// The window's repaint manager asks for its pending changes to be drawn with one
// update request, and asks again only after that request was handled. A request held
// back here is handed on at the tick, so nothing changed is left undrawn.
bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_ || event->type() != QEvent::UpdateRequest || delivering_) return false;
  if (tick_.isActive()) return true;
  const qint64 since = sinceLast_.isValid() ? sinceLast_.elapsed() : intervalMs_;
  if (since >= intervalMs_) {
    sinceLast_.restart();
    return false;
  }
  tick_.start(static_cast<int>(intervalMs_ - since));
  return true;
}

void RepaintPacer::deliver() {
  sinceLast_.restart();
  delivering_ = true;
  QEvent request(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(&window_, &request);
  delivering_ = false;
}

}  // namespace cvu
