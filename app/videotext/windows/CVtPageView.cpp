#include "videotext/windows/CVtPageView.h"

#include <QMouseEvent>
#include <QPainter>

#include "videotext/windows/VtPagePainter.h"

CVtPageView::CVtPageView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("vtPage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    page_.rowCount = 0;
}

void CVtPageView::SetPage(const vt::DisplayPage& page) {
    page_ = page;
    update();
}

QPointF CVtPageView::ToLogical(QPointF widgetPoint) const {
    return VtPainter::ToWidget(QSizeF(size())).inverted().map(widgetPoint);
}

QPointF CVtPageView::ToWidget(QPointF logical) const {
    return VtPainter::ToWidget(QSizeF(size())).map(logical);
}

QSize CVtPageView::sizeHint() const { return VtPainter::LogicalArea().size().toSize(); }

QSize CVtPageView::minimumSizeHint() const { return sizeHint() / 2; }

void CVtPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setTransform(VtPainter::ToWidget(QSizeF(size())));
    VtPainter::Paint(painter, page_);
}

void CVtPageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked(ToLogical(event->position()));
    QWidget::mousePressEvent(event);
}
