#pragma once
// Paces the repainting of one window: changes that come faster than the interval (an
// upload updates the lists, bars and texts several times per file, hundreds of times a
// second) are drawn together at the next tick instead of one repaint each. A change
// after a quiet spell is drawn at once, as before.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace cvu {

class RepaintPacer : public QObject {
 public:
  static constexpr int kIntervalMs = 16;  // about 60 repaints a second at most

  explicit RepaintPacer(QWidget& window, int intervalMs = kIntervalMs);
  ~RepaintPacer() override;
  RepaintPacer(const RepaintPacer&) = delete;
  RepaintPacer& operator=(const RepaintPacer&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void deliver();

  QWidget& window_;
  const int intervalMs_;
  QElapsedTimer sinceLast_;
  QTimer tick_;
  bool delivering_ = false;
};

}  // namespace cvu
