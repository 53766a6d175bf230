#include "videodisplay/CVideoDisplay.h"

#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <cstring>

#include "videodisplay/CVideoWindow.h"
#include "videodisplay/VideoMessages.h"

namespace {

// The names behind GetMessageValue 0-5; 0 and 1 are handed out but never posted.
const std::array<QString, 6> kMessageNames = {
    QStringLiteral("DVBVIEWER_RESERVED0"),  QStringLiteral("DVBVIEWER_RESERVED1"),
    QStringLiteral("DVBVIEWER_FULLSCREEN"), QStringLiteral("DVBVIEWER_TVMENU"),
    QStringLiteral("DVBVIEWER_VCRMENU"),    QStringLiteral("DVBVIEWER_GUIDEKEY")};

}  // namespace

CVideoDisplay::CVideoDisplay() = default;

CVideoDisplay::~CVideoDisplay() { Close(); }

unsigned CVideoDisplay::Open(const char* options) {
    const bool fullScreen = options && std::strcmp(options, "-nore") == 0;
    if (window_ && window_->IsFullScreenMode() == fullScreen) return 0;
    Close();
    window_ = std::make_unique<CVideoWindow>(fullScreen);
    window_->SetHandedFrame(handedFrame_);
    window_->SetMirrored(mirrored_);
    window_->SetBCS(brightness_, contrast_, saturation_);
    window_->EnableVideo(videoOn_);
    if (fullScreen) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window_->setGeometry(screen->geometry());
        window_->show();
        window_->raise();
        window_->activateWindow();
    }
    return 0;
}

void CVideoDisplay::Close() {
    if (!window_) return;
    handedFrame_ = window_->HandedFrame();
    mirrored_ = window_->IsMirrored();
    window_.reset();
}

void CVideoDisplay::EnableVideo(int on) {
    videoOn_ = on != 0;
    if (window_) window_->EnableVideo(videoOn_);
}

void CVideoDisplay::UnHide() {
    if (window_) window_->UnHide();
}

void CVideoDisplay::MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width,
                           std::uint16_t height, int /*computed*/) {
    // A provisional rectangle is taken like a computed one: the program
    // follows it with the computed one within half a second.
    if (window_) window_->setGeometry(x, y, width, height);
}

void CVideoDisplay::SetBCS(std::uint8_t brightness, std::uint8_t contrast,
                           std::uint8_t saturation) {
    brightness_ = brightness;
    contrast_ = contrast;
    saturation_ = saturation;
    if (window_) window_->SetBCS(brightness, contrast, saturation);
}

unsigned CVideoDisplay::MessageNumber(int index) {
    if (index < 0 || index >= int(kMessageNames.size())) return 0;
    return VideoMessages::Register(kMessageNames[std::size_t(index)]);
}
