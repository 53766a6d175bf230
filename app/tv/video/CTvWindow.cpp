#include "tv/video/CTvWindow.h"

#include <QPainter>
#include <QTimerEvent>

#include "common/CommandIds.h"
#include "tv/CTvVideo.h"

CTvWindow::CTvWindow(CTvVideo& video, QWidget* parent) : QWidget(parent), video_(&video) {
    setObjectName(QStringLiteral("TvWindow"));
    setMinimumSize(kPreferredWidth * 3 / 5, kPreferredWidth * 9 / 20);  // 120 x 90, still 4:3
    placement_.start(TimerId::TvWindowPeriodMs, this);
    video.TvWindowCreated(qintptr(this), [self = QPointer<CTvWindow>(this)] {
        return self ? self->ScreenRect() : QRect();
    });
}

CTvWindow::~CTvWindow() {
    if (video_) video_->TvWindowDestroyed();
}

QRect CTvWindow::ScreenRect() const { return {mapToGlobal(QPoint(0, 0)), size()}; }

void CTvWindow::timerEvent(QTimerEvent* e) {
    if (e->timerId() != placement_.timerId()) return QWidget::timerEvent(e);
    if (video_ && isVisible()) video_->TvWindowTimer(ScreenRect());
}

void CTvWindow::enterEvent(QEnterEvent* e) {
    if (video_) video_->MouseOverTvWindow();
    QWidget::enterEvent(e);
}

void CTvWindow::paintEvent(QPaintEvent*) {
    // The video window covers it; where it does not (yet), the window is black like a screen.
    QPainter(this).fillRect(rect(), Qt::black);
}
