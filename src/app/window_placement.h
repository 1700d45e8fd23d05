#pragma once
// Where a window restored at a stored position may stand. A position whose title bar
// is still on some screen's available area is kept exactly; one left behind by a
// removed monitor or a changed scale is moved onto the nearest screen, whole.
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <vector>

namespace cvu {

// The part of a window's top edge that must lie on a screen for the window to be
// reachable: a grip of this width (or the whole width of a narrower window) and height.
inline constexpr int kGripWidth = 100;
inline constexpr int kGripHeight = 20;

// The top-left corner for window (its outer rectangle at the stored position) given
// the available areas of the screens. No screens: the stored position.
QPoint ReachablePosition(const QRect& window, const std::vector<QRect>& screens);

// The available areas of the desktop's screens.
std::vector<QRect> AvailableScreenAreas();

// Moves a top-level window's outer top-left corner to (left, top), or onto the
// nearest screen when that would leave it out of reach.
void MoveWithinReach(QWidget* window, int left, int top);

}  // namespace cvu
