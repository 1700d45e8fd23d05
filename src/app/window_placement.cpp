#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace cvu {
namespace {

bool GripOn(const QRect& window, const QRect& area) {
  const QRect grip(window.left(), window.top(), window.width(), std::min(kGripHeight, window.height()));
  const QRect onArea = grip.intersected(area);
  return onArea.width() >= std::min(kGripWidth, window.width()) && onArea.height() == grip.height();
}

// Squared distance between two rectangles; 0 when they overlap.
long long Distance(const QRect& a, const QRect& b) {
  const long long dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
  const long long dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
  return dx * dx + dy * dy;
}

// The window moved the least so that it lies inside area (its top-left corner inside
// when it is larger than the area).
QPoint Inside(const QRect& window, const QRect& area) {
  const int x = std::max(area.left(), std::min(window.left(), area.right() + 1 - window.width()));
  const int y = std::max(area.top(), std::min(window.top(), area.bottom() + 1 - window.height()));
  return {x, y};
}

}  // namespace

QPoint ReachablePosition(const QRect& window, const std::vector<QRect>& screens) {
  if (screens.empty()) return window.topLeft();
  for (const QRect& area : screens) {
    if (GripOn(window, area)) return window.topLeft();
  }
  const QRect* nearest = &screens.front();
  long long best = std::numeric_limits<long long>::max();
  for (const QRect& area : screens) {
    const long long d = Distance(window, area);
    if (d < best) {
      best = d;
      nearest = &area;
    }
  }
  return Inside(window, *nearest);
}

std::vector<QRect> AvailableScreenAreas() {
  std::vector<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
  return areas;
}

void MoveWithinReach(QWidget* window, int left, int top) {
  const QRect outer(QPoint(left, top), window->frameGeometry().size());
  window->move(ReachablePosition(outer, AvailableScreenAreas()));
}

}  // namespace cvu
