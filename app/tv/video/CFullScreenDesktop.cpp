#include "tv/video/CFullScreenDesktop.h"

#include <QtGui/qguiapplication_platform.h>

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

// Xlib's macros (None, Bool, Status, ...) clash with Qt's names: last.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

Display* X11Display() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

/// The screen's RandR configuration, freed when it goes.
struct ScreenConfig {
    Display* display = X11Display();
    Window root = 0;
    XRRScreenConfiguration* config = nullptr;
    ScreenConfig() {
        int eventBase = 0, errorBase = 0;
        if (!display || !XRRQueryExtension(display, &eventBase, &errorBase)) return;
        root = DefaultRootWindow(display);
        config = XRRGetScreenInfo(display, root);
    }
    ~ScreenConfig() {
        if (config) XRRFreeScreenConfigInfo(config);
    }
    bool Set(int size, int rotation) const {
        return XRRSetScreenConfig(display, config, root, SizeID(size), Rotation(rotation),
                                  CurrentTime) == Success;
    }
};

int SizeIndex(XRRScreenConfiguration* config, int width, int height) {
    int count = 0;
    const XRRScreenSize* sizes = XRRConfigSizes(config, &count);
    for (int i = 0; i < count; ++i)
        if (sizes[i].width == width && sizes[i].height == height) return i;
    return -1;
}

}  // namespace

CFullScreenDesktop::~CFullScreenDesktop() {
    DestroyBackground();
    RestoreDisplayMode();
}

DisplayModeResult CFullScreenDesktop::SetFullScreenMode() {
    const ScreenConfig screen;
    if (!screen.config || DefaultDepth(screen.display, DefaultScreen(screen.display)) < 24)
        return DisplayModeResult::NotSupported;
    const int wanted = SizeIndex(screen.config, 800, 600);
    if (wanted < 0) return DisplayModeResult::NotSupported;
    Rotation rotation = 0;
    const int current = XRRConfigCurrentConfiguration(screen.config, &rotation);
    if (wanted == current) return DisplayModeResult::Changed;  // already there: nothing to undo
    if (!screen.Set(wanted, rotation)) return DisplayModeResult::DriverFailed;
    if (!changed_) {
        savedSize_ = current;
        savedRotation_ = rotation;
    }
    changed_ = true;
    return DisplayModeResult::Changed;
}

void CFullScreenDesktop::RestoreDisplayMode() {
    if (!changed_) return;
    changed_ = false;
    const ScreenConfig screen;
    if (screen.config) screen.Set(savedSize_, savedRotation_);
}

bool CFullScreenDesktop::CreateBackground() {
    DestroyBackground();
    auto* dialog = new QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint);
    dialog->setObjectName(QStringLiteral("FullScreenBackground"));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setAutoFillBackground(true);
    QPalette black = dialog->palette();
    black.setColor(QPalette::Window, Qt::black);
    dialog->setPalette(black);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(dialog));  // the template's one empty static control
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        delete dialog;
        return false;
    }
    dialog->setGeometry(screen->geometry());
    dialog->show();
    dialog->raise();
    background_ = dialog;
    return true;
}

void CFullScreenDesktop::DestroyBackground() {
    if (!background_) return;
    background_->hide();
    delete background_.data();
}

void CFullScreenDesktop::ShowInformation(QWidget* owner, const QString& caption,
                                         const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void CFullScreenDesktop::ShowStop(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}
