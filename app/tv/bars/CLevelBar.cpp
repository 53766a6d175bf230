#include "tv/bars/CLevelBar.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

CLevelBar::CLevelBar(double maximum, const QString& unit, int decimals, QWidget* parent)
    : QWidget(parent), maximum_(maximum), unit_(unit), decimals_(decimals) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CLevelBar::SetValue(double value) {
    if (value == value_) return;
    value_ = value;
    update();
}

void CLevelBar::SetColours(const QColor& low, const QColor& high) {
    if (low == low_ && high == high_) return;
    low_ = low;
    high_ = high;
    update();
}

QString CLevelBar::Text() const {
    return QString::number(value_, 'f', decimals_) + QLatin1Char(' ') + unit_;
}

QSize CLevelBar::sizeHint() const {
    return {std::max(70, fontMetrics().horizontalAdvance(QStringLiteral("1000 kHz")) + 16),
            fontMetrics().height() + 6};
}

QSize CLevelBar::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("1000 kHz")) + 8,
            fontMetrics().height() + 4};
}

void CLevelBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().base());
    const QRect inner = outer.adjusted(1, 1, 0, 0);
    const double share = maximum_ > 0 ? std::clamp(value_ / maximum_, 0.0, 1.0) : 0.0;
    if (share > 0) {
        // The gradient spans the whole bar, so the colour at the fill's end tells the level.
        QLinearGradient gradient(inner.topLeft(), inner.topRight());
        gradient.setColorAt(0, low_);
        gradient.setColorAt(1, high_);
        QRect filled = inner;
        filled.setWidth(std::max(1, int(inner.width() * share + 0.5)));
        painter.fillRect(filled, gradient);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(outer);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(inner, Qt::AlignCenter, Text());
}
