#include "frame/CIconFactory.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "frame/Resources.h"

namespace {
constexpr int Size = 16;

void DrawPage(QPainter& p, const QColor& fill) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(fill);
    QPainterPath page;
    page.moveTo(3, 1);
    page.lineTo(10, 1);
    page.lineTo(13, 4);
    page.lineTo(13, 15);
    page.lineTo(3, 15);
    page.closeSubpath();
    p.drawPath(page);
}

void DrawFolder(QPainter& p) {
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
}

void DrawDisk(QPainter& p) {
    p.setPen(QColor(20, 30, 80));
    p.setBrush(QColor(60, 90, 180));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(3, 9, 9, 5);
}

void DrawScissors(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.drawLine(4, 1, 10, 10);
    p.drawLine(11, 1, 5, 10);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(2, 10, 4, 4);
    p.drawEllipse(9, 10, 4, 4);
}

void DrawCopy(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 8, 10);
    p.setBrush(QColor(230, 240, 255));
    p.drawRect(6, 5, 8, 10);
}

void DrawPaste(QPainter& p) {
    p.setPen(QColor(90, 60, 20));
    p.setBrush(QColor(190, 140, 70));
    p.drawRect(2, 2, 10, 13);
    p.setBrush(Qt::white);
    p.drawRect(6, 6, 8, 9);
}

void DrawPrinter(QPainter& p) {
    p.setPen(QColor(50, 50, 50));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 7, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 11, 8, 4);
}

void DrawTv(QPainter& p) {
    p.setPen(QColor(30, 30, 30));
    p.setBrush(QColor(40, 60, 100));
    p.drawRoundedRect(1, 2, 14, 10, 2, 2);
    p.setBrush(QColor(120, 200, 255));
    p.drawRect(3, 4, 10, 6);
    p.drawLine(5, 14, 11, 14);
}

void DrawRadio(QPainter& p) {
    p.setPen(QColor(30, 30, 30));
    p.setBrush(QColor(170, 110, 60));
    p.drawRoundedRect(1, 5, 14, 9, 2, 2);
    p.drawLine(4, 5, 11, 1);
    p.setBrush(QColor(60, 40, 20));
    p.drawEllipse(3, 7, 5, 5);
    p.drawLine(10, 8, 13, 8);
    p.drawLine(10, 10, 13, 10);
}

void DrawData(QPainter& p) {
    p.setPen(QColor(20, 80, 20));
    p.setBrush(QColor(120, 200, 120));
    p.drawEllipse(2, 1, 12, 4);
    p.drawRect(2, 3, 12, 9);
    p.drawEllipse(2, 10, 12, 4);
}

void DrawAll(QPainter& p) {
    const QColor colours[] = {QColor(120, 200, 255), QColor(170, 110, 60), QColor(120, 200, 120)};
    p.setPen(QColor(30, 30, 30));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(1 + i * 2, 1 + i * 4, 10, 5);
    }
}
// A loudspeaker with two sound waves: an audio stream of the language box.
void DrawAudio(QPainter& p) {
    p.setPen(QColor(30, 30, 30));
    p.setBrush(QColor(90, 90, 90));
    QPainterPath speaker;
    speaker.moveTo(1, 6);
    speaker.lineTo(4, 6);
    speaker.lineTo(8, 2);
    speaker.lineTo(8, 14);
    speaker.lineTo(4, 10);
    speaker.lineTo(1, 10);
    speaker.closeSubpath();
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 90, 170), 1.2));
    p.drawArc(QRectF(6, 5, 5, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(6, 2, 9, 12), -60 * 16, 120 * 16);
}
}  // namespace

QIcon CIconFactory::Icon(Kind kind) {
    if (kind == Kind::App) {
        InitSvlEditorResources();
        return QIcon(QStringLiteral(":/svl/svl-editor.svg"));
    }
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
        case Kind::New:
            DrawPage(p, Qt::white);
            break;
        case Kind::Open:
            DrawFolder(p);
            break;
        case Kind::Save:
            DrawDisk(p);
            break;
        case Kind::Cut:
            DrawScissors(p);
            break;
        case Kind::Copy:
            DrawCopy(p);
            break;
        case Kind::Paste:
            DrawPaste(p);
            break;
        case Kind::Print:
            DrawPrinter(p);
            break;
        case Kind::Tv:
            DrawTv(p);
            break;
        case Kind::Radio:
            DrawRadio(p);
            break;
        case Kind::Data:
            DrawData(p);
            break;
        case Kind::All:
            DrawAll(p);
            break;
        case Kind::Audio:
            DrawAudio(p);
            break;
        case Kind::App:
            break;
    }
    return QIcon(pixmap);
}
