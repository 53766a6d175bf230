#include "tv/CRemoteKeySocket.h"

#include <QTimer>

#include "common/PrivateMessages.h"
#include "receiver/IDeviceSet.h"

namespace {

constexpr std::uint8_t kKeyFlag = 0x80;
constexpr std::uint8_t kCodeBits = 0x3F;
constexpr int kRecording = 1, kPlaying = 2;
constexpr int kPause = 50;  // ms between two VCR commands of one key
constexpr qintptr kNoPlaylistEntry = 0x0FFFFFFF;

namespace Vcr {
constexpr int Close = 2, Play = 3, Stop = 7, NextFile = 8, Record = 9, PreviousFile = 10;
}
namespace Key {
constexpr int Radio = 12, Mute = 13, TvList = 15, VolumeUp = 16, VolumeDown = 17, Record = 30,
              Next = 32, Previous = 33, Guide = 34, Minimise = 38, FullScreen = 46;
}
namespace Guide {
constexpr int Current = 2, Next = 3;
}
constexpr int kStepNext = 2, kStepPrevious = 1;

void ToVcr(int command, qintptr parameter, bool send) {
    if (send)
        PrivateMessages::SendTo(MessageWindow::VcrBar, Msg::VcrCommand, command, parameter);
    else
        PrivateMessages::PostTo(MessageWindow::VcrBar, Msg::VcrCommand, command, parameter);
}

}  // namespace

CRemoteKeySocket::CRemoteKeySocket(IDeviceSet& card, QObject* parent)
    : QObject(parent), card_(card) {}

CRemoteKeySocket::~CRemoteKeySocket() { Close(); }

bool CRemoteKeySocket::Open() {
    Close();
    open_ = card_.OpenRemoteKeys([this](std::span<const std::uint8_t> datagram) {
        if (const auto key = KeyOf(datagram)) Dispatch(*key);
    });
    return open_;
}

void CRemoteKeySocket::Close() {
    if (!open_) return;
    open_ = false;
    card_.CloseRemoteKeys();
}

std::optional<int> CRemoteKeySocket::KeyOf(std::span<const std::uint8_t> datagram) {
    if (datagram.size() != 2 || (datagram[1] & kKeyFlag) == 0) return std::nullopt;
    const int code = datagram[0] & kCodeBits;
    if (code > kHighestKey) return std::nullopt;
    return code;
}

bool CRemoteKeySocket::InPlaylistPlayback() const {
    return VcrMode() == kPlaying && context_.playlistPlayback && context_.playlistPlayback();
}

// Stop, and 50 ms later close, the recording under way.
void CRemoteKeySocket::EndRecording() {
    ToVcr(Vcr::Stop, kNoPlaylistEntry, true);
    QTimer::singleShot(kPause, this, [] { ToVcr(Vcr::Close, kNoPlaylistEntry, true); });
}

// A digit during playlist playback plays that entry of the playlist instead.
void CRemoteKeySocket::RestartPlaylistAt(int key) {
    ToVcr(Vcr::Stop, key, true);
    QTimer::singleShot(kPause, this, [this, key] {
        ToVcr(Vcr::Close, key, true);
        QTimer::singleShot(kPause, this, [key] { ToVcr(Vcr::Play, key, true); });
    });
}

void CRemoteKeySocket::Dispatch(int key) {
    const auto toView = [](int number, qintptr value) {
        PrivateMessages::PostTo(MessageWindow::View, number, value);
    };
    const auto toPictureBar = [](int code) {
        PrivateMessages::PostTo(MessageWindow::PictureBar, Msg::RemoteKey, code);
    };
    if (key >= 0 && key <= 9) {
        if (InPlaylistPlayback())
            RestartPlaylistAt(key);
        else
            toView(Msg::RemoteKey, key);
        return;
    }
    switch (key) {
        case Key::Radio:
        case Key::TvList:
        case Key::Guide:
            toView(Msg::RemoteKey, key);
            break;
        case Key::Mute:
            toPictureBar(key);
            break;
        case Key::VolumeUp:
            if (GuideOnScreen())
                toView(Msg::GuidePage, Guide::Next);
            else
                toPictureBar(key);
            break;
        case Key::VolumeDown:
            if (GuideOnScreen())
                toView(Msg::GuidePage, Guide::Current);
            else
                toPictureBar(key);
            break;
        case Key::Record:
            if (VcrMode() == kRecording)
                EndRecording();
            else
                ToVcr(Vcr::Record, 0, false);
            break;
        case Key::Next:
        case Key::Previous:
            if (GuideOnScreen()) break;
            if (InPlaylistPlayback())
                ToVcr(key == Key::Next ? Vcr::NextFile : Vcr::PreviousFile, 0, false);
            else
                toView(Msg::ProgramStep, key == Key::Next ? kStepNext : kStepPrevious);
            break;
        case Key::Minimise:
            if (!(context_.fullScreen && context_.fullScreen()) && context_.toggleMinimised)
                context_.toggleMinimised();
            break;
        case Key::FullScreen:
            PrivateMessages::PostTo(MessageWindow::Frame, Msg::RemoteKey, key);
            break;
        default:
            break;
    }
}
