#include "tv/VideoPlacement.h"

namespace VideoPlacement {

QRect InWindow(const QRect& window) {
    const int w = window.width(), h = window.height();
    if (w <= h * 4.0 / 3.0) return {window.topLeft(), QSize(w, int(w * 0.75))};
    return {window.topLeft(), QSize(int(h * 4.0 / 3.0), h)};
}

QRect InBar(const QRect& bar) {
    const int w = bar.width(), h = bar.height();
    const QPoint corner = bar.topLeft() + QPoint(6, 18);
    if (w > h * 4.0 / 3.0) return {corner, QSize(int(h * 4.0 / 3.0) - 6, h - 18)};
    return {corner, QSize(w - 6, int(w * 0.75 - 18))};
}

QRect Provisional(const QRect& window) {
    return {window.topLeft() + QPoint(8, 8), QSize(window.width() - 16, window.height() - 200)};
}

}  // namespace VideoPlacement
