#include "tv/CTvVideo.h"

#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "receiver/IDeviceSet.h"
#include "tv/ITvWindowHost.h"
#include "tv/IVideoDisplay.h"
#include "tv/TvTexts.h"
#include "tv/VideoMenuItems.h"
#include "tv/VideoPlacement.h"

namespace {
// The picture values given to the decoder and the video window whenever the
// video comes back; the picture/sound bar then applies the user's own (1229).
constexpr PictureSettings ReopenPicture{170, 160, 200};

void MoveVideo(IVideoDisplay& display, const QRect& r, int computed) {
    const auto u16 = [](int v) { return std::uint16_t(qBound(0, v, 0xFFFF)); };
    display.MoveTo(u16(r.x()), u16(r.y()), u16(r.width()), u16(r.height()), computed);
}

QString ModeFailureText(DisplayModeResult result) {
    switch (result) {
        case DisplayModeResult::RestartNeeded:
            return TvTexts::ModeRestartNeeded;
        case DisplayModeResult::BadFlags:
            return TvTexts::ModeBadFlags;
        case DisplayModeResult::DriverFailed:
            return TvTexts::ModeDriverFailed;
        case DisplayModeResult::NotSupported:
            return TvTexts::ModeNotSupported;
        case DisplayModeResult::RegistryFailed:
            return TvTexts::ModeRegistryFailed;
        case DisplayModeResult::Changed:
            break;
    }
    return {};
}
}  // namespace

CTvVideo::CTvVideo(IVideoDisplay& display, ITvWindowHost& host, CProgramState& state,
                   IDeviceSet* card, QObject* parent)
    : QObject(parent), display_(display), host_(host), state_(state), card_(card) {}

void CTvVideo::StartUp() {
    for (int i = 0; i < 6; ++i) videoMessages_[std::size_t(i)] = display_.GetMessageValue(i);
    hwnd_ = display_.RegisterMessage(VideoNames::Hwnd);
    top_ = display_.RegisterMessage(VideoNames::Top);
    ctrlVideo_ = display_.RegisterMessage(VideoNames::CtrlVideo);
    top2_ = display_.RegisterMessage(VideoNames::Top);
    state_.SetFullScreen(false);
    display_.Broadcast(hwnd_, 0, 0);  // the frame has no handle to give yet
    display_.Broadcast(top_, 0, 0);
}

void CTvVideo::TvWindowCreated(qintptr handle, std::function<QRect()> rect) {
    steps_.Add({{[this] { display_.Open(VideoNames::OverWindow); }, 50},
                {[this, handle, rect = std::move(rect)] {
                    display_.EnableVideo(1);
                    display_.UnHide();
                    MoveVideo(display_, VideoPlacement::Provisional(rect()), 0);
                    if (!display_.ViewerExists()) return;
                    const unsigned hwnd = display_.RegisterMessage(VideoNames::Hwnd);
                    const unsigned top = display_.RegisterMessage(VideoNames::Top);
                    display_.RegisterMessage(VideoNames::CtrlVideo);
                    display_.Broadcast(top, 0, 0);
                    display_.SendToViewer(hwnd, 0, handle);
                    display_.SendToViewer(top, 0, 0);
                }}});
}

void CTvVideo::TvWindowTimer(const QRect& rect) {
    // In full screen the video belongs to the whole desktop, not to the window.
    if (state_.FullScreen() || fullScreenBusy_ || rect == placedFor_) return;
    MoveVideo(display_, VideoPlacement::InWindow(rect), 1);
    placedFor_ = rect;
}

void CTvVideo::TvWindowDestroyed() {
    steps_.Add({{[this] { display_.Close(); }, 50}, {[this] { display_.EnableVideo(0); }}});
}

void CTvVideo::MouseOverTvWindow() { display_.ActivateViewer(); }

void CTvVideo::PlaceInBar() { MoveVideo(display_, VideoPlacement::InBar(host_.BarRect()), 1); }

void CTvVideo::ToggleBar() {
    if (!host_.BarHidden()) {
        host_.HideBar();
        return;
    }
    steps_.Add({{[this] {
                     display_.Open(VideoNames::OverWindow);
                     display_.EnableVideo(1);
                     display_.UnHide();
                     PlaceInBar();
                 },
                 550},
                {[this] {
                    PrivateMessages::PostTo(MessageWindow::PictureBar, Msg::PictureReapply);
                    host_.ShowBar();
                }}});
}

void CTvVideo::MenuStateUpdate() {
    if (!host_.BarHidden()) return;
    display_.Close();
    display_.EnableVideo(0);
}

void CTvVideo::ApplyFullScreenPicture() {
    if (card_) card_->SetPictureParameters(ReopenPicture);
    display_.SetBCS(ReopenPicture.brightness, ReopenPicture.contrast, ReopenPicture.saturation);
    PrivateMessages::PostTo(MessageWindow::PictureBar, Msg::PictureReapply);
}

void CTvVideo::EnterFullScreen() {
    if (state_.FullScreen() || fullScreenBusy_) return;
    fullScreenBusy_ = true;
    steps_.Add({{[this] {
                     display_.Close();
                     display_.EnableVideo(0);
                     const DisplayModeResult result = host_.SetFullScreenMode();
                     if (result != DisplayModeResult::Changed)
                         host_.ShowInformation(TvTexts::DisplayModeCaption,
                                               ModeFailureText(result));
                 },
                 50},
                {[this] {
                     if (!host_.CreateBackground())
                         host_.ShowBackgroundFailure(TvTexts::FullScreenCaption,
                                                     TvTexts::BackgroundFailed);
                     display_.Open(VideoNames::FullScreen);
                 },
                 1000},
                {[this] {
                     MoveVideo(display_, VideoPlacement::FullScreen, 1);
                     display_.EnableVideo(1);
                 },
                 500},
                FullScreenDone(true)});
}

// The last step of both ways: the picture settings of the new window, the
// flag, and the way free for the next request.
CStepQueue::Step CTvVideo::FullScreenDone(bool on) {
    return {[this, on] {
        ApplyFullScreenPicture();
        state_.SetFullScreen(on);
        fullScreenBusy_ = false;
    }};
}

void CTvVideo::LeaveFullScreen() {
    if (!state_.FullScreen() || fullScreenBusy_) return;
    fullScreenBusy_ = true;
    steps_.Add({{[this] {
                     host_.DestroyBackground();
                     display_.Close();
                     host_.RestoreDisplayMode();
                     display_.Open(VideoNames::OverWindow);
                     display_.EnableVideo(1);
                     display_.UnHide();
                     PlaceInBar();
                 },
                 550},
                FullScreenDone(false)});
}

void CTvVideo::ToggleFullScreen() {
    if (state_.FullScreen())
        LeaveFullScreen();
    else
        EnterFullScreen();
}

void CTvVideo::Mirror(int how) { display_.Broadcast(ctrlVideo_, 0, how); }

bool CTvVideo::Command(int command) {
    // The menu items that only post a message to the view.
    struct ViewPost {
        int command, message, value;
    };
    static constexpr ViewPost kViewPosts[] = {
        {Cmd::ProgramUp, Msg::ProgramStep, 2},    {Cmd::ProgramDown, Msg::ProgramStep, 1},
        {Cmd::GuideShortInfo, Msg::GuidePage, 1}, {Cmd::GuideCurrent, Msg::GuidePage, 2},
        {Cmd::GuideNext, Msg::GuidePage, 3},      {Cmd::GuideClose, Msg::GuidePage, 4},
    };
    for (const ViewPost& post : kViewPosts) {
        if (post.command != command) continue;
        PrivateMessages::PostTo(MessageWindow::View, post.message, post.value);
        return true;
    }
    switch (command) {
        case Cmd::FullScreenOn:
            EnterFullScreen();
            return true;
        case Cmd::FullScreenOff:
            LeaveFullScreen();
            return true;
        case Cmd::VideoMirror:
            Mirror(VideoNames::CtrlMirror);
            return true;
        case Cmd::VideoNormal:
            Mirror(VideoNames::CtrlNormal);
            return true;
        case Cmd::MenuExit:
            return true;
        case Cmd::ViewTvBar:
            ToggleBar();
            return true;
        default:
            break;
    }
    const VideoMenuItems::VcrCode vcr = VideoMenuItems::VcrCodeOf(command);
    if (vcr.code == 0) return false;
    PrivateMessages::PostTo(MessageWindow::VcrBar, Msg::VcrCommand, vcr.code, vcr.index);
    return true;
}

bool CTvVideo::VideoMessage(unsigned number, qintptr wParam, qintptr lParam) {
    const auto& vm = videoMessages_;
    // Entries 0 and 1 are not acted on, and a number of entry 0 never counts as entry 5.
    if (number == 0 || number == vm[0] || number == vm[1]) return false;
    const QPoint at(int(lParam & 0xFFFF), int((lParam >> 16) & 0xFFFF));
    const QPoint corner = state_.FullScreen() ? QPoint() : host_.BarRect().topLeft();
    if (number == vm[2]) {
        ToggleFullScreen();
    } else if (number == vm[3]) {
        host_.OpenTvMenu(at + corner);
    } else if (number == vm[4]) {
        host_.OpenVcrMenu(at + corner);
    } else if (number == vm[5]) {
        switch (wParam) {
            case 1:
            case 2:
            case 7:
            case 8:
                PrivateMessages::PostTo(MessageWindow::View, Msg::GuideKeys, wParam);
                break;
            case 3:
                PrivateMessages::PostTo(MessageWindow::View, Msg::ProgramStep, 2);
                break;
            case 4:
                PrivateMessages::PostTo(MessageWindow::View, Msg::ProgramStep, 1);
                break;
            default:
                break;
        }
    } else {
        return false;
    }
    return true;
}
