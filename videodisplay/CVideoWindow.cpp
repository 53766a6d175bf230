#include "videodisplay/CVideoWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "videodisplay/CVideoDisplay.h"
#include "videodisplay/VideoMessages.h"

namespace {

constexpr int kPollMs = 10;     // a new frame is looked for this often
constexpr int kWatchMs = 1000;  // a missing or silent memory is opened anew this often

enum MessageIndex { kFullScreenToggle = 2, kTvMenu = 3, kVcrMenu = 4, kGuideKey = 5 };

Qt::WindowFlags FlagsFor(bool fullScreen) {
    if (fullScreen) return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    return Qt::Tool | Qt::FramelessWindowHint;
}

qintptr PackPoint(QPoint p) {
    return qintptr(std::uint16_t(p.x())) | qintptr(std::uint16_t(p.y())) << 16;
}

/// The code of message 5 for a key: digits 1-8 (main keys or keypad), '+' as
/// 3 (next program) and '-' as 4 (previous program); 0 for any other key.
int GuideKeyCode(int key) {
    if (key >= Qt::Key_1 && key <= Qt::Key_8) return key - Qt::Key_0;
    if (key == Qt::Key_Plus) return 3;
    if (key == Qt::Key_Minus) return 4;
    return 0;
}

}  // namespace

CVideoWindow::CVideoWindow(bool fullScreen)
    : QWidget(nullptr, FlagsFor(fullScreen)),
      fullScreen_(fullScreen),
      hwndMessage_(VideoMessages::Register(VideoMessages::Hwnd)),
      topMessage_(VideoMessages::Register(VideoMessages::Top)),
      ctrlMessage_(VideoMessages::Register(VideoMessages::CtrlVideo)),
      memoryName_(kestrel::protocol::PictureMemoryName()),
      picture_(int(kestrel::protocol::kPictureWidth), int(kestrel::protocol::kPictureHeight),
               QImage::Format_RGB32) {
    setWindowTitle(VideoMessages::WindowTitle);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&poll_, &QTimer::timeout, this, &CVideoWindow::Poll);
    connect(&watch_, &QTimer::timeout, this, &CVideoWindow::Watch);
    poll_.start(kPollMs);
    watch_.start(kWatchMs);
    Reopen();
}

void CVideoWindow::EnableVideo(bool on) {
    if (on == videoOn_) return;
    videoOn_ = on;
    takenSequence_ = 0;  // take the frame there now, it was not converted while off
    update();
}

void CVideoWindow::SetBCS(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation) {
    adjust_.Set(brightness, contrast, saturation);
    Convert();
}

void CVideoWindow::SetMirrored(bool on) {
    if (on == mirrored_) return;
    mirrored_ = on;
    Convert();
}

void CVideoWindow::UnHide() {
    show();
    KeepAboveFrame();
    raise();
}

void CVideoWindow::SetHandedFrame(QWidget* frame) {
    handedFrame_ = frame ? frame->window() : nullptr;
    KeepAboveFrame();
}

QWidget* CVideoWindow::Frame() const {
    if (handedFrame_) return handedFrame_;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QMainWindow*>(w)) return w;
    return nullptr;
}

void CVideoWindow::KeepAboveFrame() {
    QWidget* frame = Frame();
    if (fullScreen_ || !frame || !windowHandle() || !frame->windowHandle()) return;
    windowHandle()->setTransientParent(frame->windowHandle());
}

bool CVideoWindow::event(QEvent* e) {
    const unsigned type = unsigned(e->type());
    if (type != hwndMessage_ && type != topMessage_ && type != ctrlMessage_)
        return QWidget::event(e);
    const auto* m = dynamic_cast<VideoMessages::Event*>(e);
    if (!m) return QWidget::event(e);
    if (type == hwndMessage_ && m->lParam() != 0) {
        SetHandedFrame(reinterpret_cast<QWidget*>(m->lParam()));
    } else if (type == topMessage_) {
        raise();
    } else if (type == ctrlMessage_ && m->lParam() == VideoMessages::CtrlMirror) {
        SetMirrored(true);
    } else if (type == ctrlMessage_ && m->lParam() == VideoMessages::CtrlNormal) {
        SetMirrored(false);
    }
    return true;
}

void CVideoWindow::Poll() {
    if (!videoOn_ || !reader_.IsOpen()) return;
    const std::uint32_t sequence = reader_.Sequence();
    if (sequence == 0 || sequence == takenSequence_) return;
    if (!reader_.Read(latest_)) return;
    takenSequence_ = latest_.sequence;
    tookSinceWatch_ = true;
    havePicture_ = true;
    Convert();
}

void CVideoWindow::Watch() {
    // A server that ended or started anew leaves the old object mapped and
    // silent: a memory that gave nothing for a second is opened by name again.
    if (!tookSinceWatch_) Reopen();
    tookSinceWatch_ = false;
}

void CVideoWindow::Reopen() {
    takenSequence_ = 0;
    const bool opened = reader_.Open(memoryName_);
    if ((opened && reader_.Sequence() != 0) || !havePicture_) return;
    havePicture_ = false;  // the memory is gone or new and empty: black until a frame comes
    update();
}

void CVideoWindow::Convert() {
    if (!havePicture_) return;
    adjust_.Apply(latest_.pixels.data(), int(latest_.width), int(latest_.height),
                  reinterpret_cast<std::uint32_t*>(picture_.bits()),
                  std::size_t(picture_.bytesPerLine()) / 4, mirrored_);
    ++pictureId_;
    update();
}

void CVideoWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!videoOn_ || !havePicture_) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
    if (paintedId_ != pictureId_) {
        paintedId_ = pictureId_;
        ++framesShown_;
    }
}

void CVideoWindow::PostToFrame(int index, qintptr wParam, qintptr lParam) {
    VideoMessages::Post(Frame(), CVideoDisplay::MessageNumber(index), wParam, lParam);
}

void CVideoWindow::mousePressEvent(QMouseEvent* e) {
    const qintptr at = PackPoint(e->position().toPoint());
    if (e->button() == Qt::RightButton) PostToFrame(kTvMenu, 0, at);
    if (e->button() == Qt::MiddleButton) PostToFrame(kVcrMenu, 0, at);
}

void CVideoWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        PostToFrame(kFullScreenToggle, 0, 0);
    else
        mousePressEvent(e);
}

void CVideoWindow::keyPressEvent(QKeyEvent* e) {
    const int code = GuideKeyCode(e->key());
    if (code == 0) return QWidget::keyPressEvent(e);
    // The code travels in both parameters, so the frame may read either.
    PostToFrame(kGuideKey, code, code);
}
