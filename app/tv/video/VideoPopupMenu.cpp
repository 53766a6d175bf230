#include "tv/video/VideoPopupMenu.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidgetAction>

#include "common/CommandIds.h"

namespace {

// The menu's title: bold text on a band shaded from light red to white.
class TitleBand : public QLabel {
  public:
    TitleBand(const QString& text, QWidget* parent) : QLabel(text, parent) {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        QPalette dark = palette();  // the band is not an item: its text stays black
        dark.setColor(QPalette::Disabled, QPalette::WindowText, Qt::black);
        setPalette(dark);
        setContentsMargins(6, 3, 6, 3);
        setObjectName(QStringLiteral("MenuTitle"));
    }

  protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        QLinearGradient shade(rect().topLeft(), rect().topRight());
        shade.setColorAt(0, QColor(0xFF8080));
        shade.setColorAt(1, Qt::white);
        p.fillRect(rect(), shade);
        p.end();
        QLabel::paintEvent(e);
    }
};

enum class Shape {
    Screen,
    Window,
    Mirror,
    Normal,
    Plus,
    Minus,
    Info,
    Now,
    Next,
    CloseX,
    Play,
    Fast,
    Slow,
    Stop,
    Pause,
    Open,
    Previous,
    Forward,
    Exit
};

Shape ShapeOf(int command) {
    switch (command) {
        case Cmd::FullScreenOn:
            return Shape::Screen;
        case Cmd::FullScreenOff:
            return Shape::Window;
        case Cmd::VideoMirror:
            return Shape::Mirror;
        case Cmd::VideoNormal:
            return Shape::Normal;
        case Cmd::ProgramUp:
            return Shape::Plus;
        case Cmd::ProgramDown:
            return Shape::Minus;
        case Cmd::GuideShortInfo:
            return Shape::Info;
        case Cmd::GuideCurrent:
            return Shape::Now;
        case Cmd::GuideNext:
            return Shape::Next;
        case Cmd::GuideClose:
            return Shape::CloseX;
        case Cmd::PopupPlaybackOpen:
            return Shape::Open;
        case Cmd::PopupPlaybackClose:
            return Shape::CloseX;
        case Cmd::PopupPlay:
            return Shape::Play;
        case Cmd::PopupPlayDouble:
            return Shape::Fast;
        case Cmd::PopupPlayHalf:
            return Shape::Slow;
        case Cmd::PopupStop:
            return Shape::Stop;
        case Cmd::PopupPause:
            return Shape::Pause;
        case Cmd::VcrPreviousTitle:
            return Shape::Previous;
        case Cmd::VcrNextTitle:
            return Shape::Forward;
        default:
            return Shape::Exit;
    }
}

QPainterPath Triangle(qreal x, qreal w, bool right = true) {
    QPainterPath path;
    path.moveTo(right ? x : x + w, 3);
    path.lineTo(right ? x + w : x, 8);
    path.lineTo(right ? x : x + w, 13);
    path.closeSubpath();
    return path;
}

void Draw(QPainter& p, Shape shape) {
    const QColor dark(0x20, 0x30, 0x70), red(0xC0, 0x20, 0x20);
    p.setPen(QPen(dark, 1.4));
    p.setBrush(dark);
    switch (shape) {
        case Shape::Screen:
            p.setBrush(Qt::black);
            p.drawRect(1, 2, 14, 11);
            break;
        case Shape::Window:
            p.setBrush(Qt::white);
            p.drawRect(1, 2, 14, 11);
            p.setBrush(Qt::black);
            p.drawRect(3, 5, 7, 5);
            break;
        case Shape::Mirror:
            p.drawPath(Triangle(1, 5, false));
            p.drawPath(Triangle(10, 5));
            p.drawLine(8, 1, 8, 15);
            break;
        case Shape::Normal:
            p.drawPath(Triangle(4, 8));
            break;
        case Shape::Plus:
            p.drawRect(7, 2, 2, 12);
            [[fallthrough]];
        case Shape::Minus:
            p.drawRect(2, 7, 12, 2);
            break;
        case Shape::Info:
            p.setBrush(QColor(0x40, 0x80, 0xE0));
            p.drawEllipse(1, 1, 14, 14);
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(8, 7, 8, 12);
            p.drawPoint(8, 4);
            break;
        case Shape::Now:
            p.setBrush(Qt::white);
            p.drawEllipse(1, 1, 14, 14);
            p.drawLine(8, 8, 8, 3);
            p.drawLine(8, 8, 12, 8);
            break;
        case Shape::Next:
            p.drawPath(Triangle(2, 5));
            p.drawPath(Triangle(8, 5));
            break;
        case Shape::CloseX:
            p.setPen(QPen(red, 2.2));
            p.drawLine(3, 3, 13, 13);
            p.drawLine(13, 3, 3, 13);
            break;
        case Shape::Play:
            p.setBrush(QColor(0x20, 0x90, 0x30));
            p.setPen(Qt::NoPen);
            p.drawPath(Triangle(4, 9));
            break;
        case Shape::Fast:
            p.drawPath(Triangle(1, 6));
            p.drawPath(Triangle(8, 6));
            break;
        case Shape::Slow:
            p.drawPath(Triangle(2, 6));
            p.drawRect(11, 3, 2, 10);
            break;
        case Shape::Stop:
            p.setBrush(red);
            p.drawRect(3, 3, 10, 10);
            break;
        case Shape::Pause:
            p.drawRect(3, 3, 3, 10);
            p.drawRect(10, 3, 3, 10);
            break;
        case Shape::Open:
            p.setBrush(QColor(0xF0, 0xC8, 0x40));
            p.drawRect(1, 5, 14, 9);
            p.drawRect(1, 3, 6, 2);
            break;
        case Shape::Previous:
            p.drawRect(2, 3, 2, 10);
            p.drawPath(Triangle(5, 9, false));
            break;
        case Shape::Forward:
            p.drawPath(Triangle(3, 9));
            p.drawRect(12, 3, 2, 10);
            break;
        case Shape::Exit:
            p.setBrush(Qt::white);
            p.drawRect(2, 1, 9, 14);
            p.drawLine(7, 8, 14, 8);
            p.drawLine(11, 5, 14, 8);
            p.drawLine(11, 11, 14, 8);
            break;
    }
}

}  // namespace

namespace VideoPopupMenu {

QIcon IconFor(int command) {
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, ShapeOf(command));
    p.end();
    return QIcon(image);
}

QMenu* Build(const QString& title, const QList<VideoMenuItems::Item>& items, QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    auto* band = new QWidgetAction(menu);
    band->setDefaultWidget(new TitleBand(title, menu));
    band->setEnabled(false);
    menu->addAction(band);
    for (const VideoMenuItems::Item& item : items) {
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(IconFor(item.command), item.text);
        action->setData(item.command);
        action->setEnabled(item.enabled);
    }
    return menu;
}

int Run(const QString& title, const QList<VideoMenuItems::Item>& items, QPoint at,
        QWidget* parent) {
    QMenu* menu = Build(title, items, parent);
    const QAction* chosen = menu->exec(at);
    const int command = chosen ? chosen->data().toInt() : 0;
    delete menu;
    return command;
}

}  // namespace VideoPopupMenu
