#pragma once
// Where the video goes: over the TV window (4:3 in its top-left corner), over
// the TV window bar (inside its border and title), provisionally while the TV
// window comes up, and full screen. Rectangles in screen pixels.
#include <QRect>

namespace VideoPlacement {
/// The largest 4:3 rectangle in `window`, at its top-left corner.
QRect InWindow(const QRect& window);
/// The video inside the TV window bar: 6 pixels in, below an 18-pixel title.
QRect InBar(const QRect& bar);
/// While the TV window comes up: 8 pixels in, 200 pixels less high.
QRect Provisional(const QRect& window);
/// Full screen on the 800 x 600 desktop.
inline constexpr QRect FullScreen{16, 12, 784, 574};
}  // namespace VideoPlacement
