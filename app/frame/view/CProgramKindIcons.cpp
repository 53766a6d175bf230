#include "frame/view/CProgramKindIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A television: screen with a dark frame on a small foot.
void DrawTv(QPainter& p, qreal s) {
    p.setPen(QPen(QColor(40, 40, 40), s / 16));
    p.setBrush(QColor(70, 130, 200));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.12, s * 0.88, s * 0.62), s * 0.08, s * 0.08);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(s * 0.30, s * 0.80, s * 0.40, s * 0.10));
}

// A radio: body with a round speaker and a tuning scale.
void DrawRadio(QPainter& p, qreal s) {
    p.setPen(QPen(QColor(40, 40, 40), s / 16));
    p.setBrush(QColor(190, 120, 50));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.30, s * 0.88, s * 0.60), s * 0.08, s * 0.08);
    p.drawLine(QPointF(s * 0.25, s * 0.30), QPointF(s * 0.70, s * 0.06));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(s * 0.34, s * 0.60), s * 0.17, s * 0.17);
    p.setBrush(QColor(240, 230, 180));
    p.drawRect(QRectF(s * 0.60, s * 0.45, s * 0.25, s * 0.12));
}

// Data: a sheet with a folded corner and lines of text.
void DrawData(QPainter& p, qreal s) {
    QPainterPath sheet;
    sheet.moveTo(s * 0.18, s * 0.06);
    sheet.lineTo(s * 0.62, s * 0.06);
    sheet.lineTo(s * 0.84, s * 0.28);
    sheet.lineTo(s * 0.84, s * 0.94);
    sheet.lineTo(s * 0.18, s * 0.94);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), s / 16));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setPen(QPen(QColor(60, 140, 60), s / 12));
    for (qreal y : {0.42, 0.58, 0.74})
        p.drawLine(QPointF(s * 0.30, s * y), QPointF(s * 0.72, s * y));
}

// All kinds: three coloured stacked cards.
void DrawAll(QPainter& p, qreal s) {
    const QColor colours[] = {QColor(60, 140, 60), QColor(190, 120, 50), QColor(70, 130, 200)};
    p.setPen(QPen(QColor(40, 40, 40), s / 16));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(s * (0.06 + 0.14 * i), s * (0.06 + 0.14 * i), s * 0.6, s * 0.6));
    }
}

}  // namespace

QPixmap CProgramKindIcons::Draw(Image image, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    switch (image) {
        case Data:
            DrawData(p, s);
            break;
        case Radio:
            DrawRadio(p, s);
            break;
        case Tv:
            DrawTv(p, s);
            break;
        case All:
            DrawAll(p, s);
            break;
    }
    return pm;
}

QVector<QIcon> CProgramKindIcons::Icons() {
    QVector<QIcon> out;
    for (Image i : {Data, Radio, Tv, All}) {
        QIcon icon;
        icon.addPixmap(Draw(i, 16));
        icon.addPixmap(Draw(i, 32));
        out.push_back(icon);
    }
    return out;
}
