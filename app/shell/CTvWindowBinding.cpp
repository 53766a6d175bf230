#include "shell/CTvWindowBinding.h"

#include <QMenu>

#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/CDockingBar.h"
#include "frame/CFrameMenus.h"
#include "frame/CMainFrame.h"
#include "tv/CTvVideo.h"
#include "tv/IVideoDisplay.h"
#include "tv/TvTexts.h"
#include "tv/video/CTvWindow.h"
#include "tv/video/VideoPopupMenu.h"

namespace {
// The commands of the "&TV" menu that the video side carries out.
constexpr int TvCommands[] = {
    Cmd::FullScreenOn, Cmd::FullScreenOff,  Cmd::VideoMirror,  Cmd::VideoNormal, Cmd::ProgramUp,
    Cmd::ProgramDown,  Cmd::GuideShortInfo, Cmd::GuideCurrent, Cmd::GuideNext,   Cmd::GuideClose};
constexpr int RemoteFullScreenKey = 46;
}  // namespace

CTvWindowBinding::CTvWindowBinding(CMainFrame& frame, IVideoDisplay& display, IDeviceSet* card)
    : QObject(&frame),
      frame_(frame),
      display_(display),
      bar_(frame.DockingBar(BarId::TvBar)),
      video_(new CTvVideo(display, *this, frame.State(), card, this)) {
    runMenu_ = [this](const QString& title, const QList<VideoMenuItems::Item>& items, QPoint at) {
        return VideoPopupMenu::Run(title, items, at, &frame_);
    };
    video_->StartUp();
    window_ = new CTvWindow(*video_);
    bar_->SetContent(window_);
    ConnectCommands();
    frame.installEventFilter(this);
    bar_->installEventFilter(this);
}

CTvWindowBinding::~CTvWindowBinding() = default;

void CTvWindowBinding::SetVcrState(std::function<bool()> playbackOpen,
                                   std::function<bool()> playlist) {
    playbackOpen_ = std::move(playbackOpen);
    playlist_ = std::move(playlist);
}

void CTvWindowBinding::ConnectCommands() {
    CFrameMenus* menus = frame_.Menus();
    menus->Replace(Cmd::ViewTvBar, [this] { video_->ToggleBar(); });
    for (int id : TvCommands) menus->Enable(id, [this, id] { video_->Command(id); });
    if (QMenu* view = menus->Menu(QStringLiteral("&Ansicht")))
        connect(view, &QMenu::aboutToShow, video_, &CTvVideo::MenuStateUpdate);
    if (QMenu* tv = menus->Menu(QStringLiteral("&TV")))
        connect(tv, &QMenu::aboutToShow, this, &CTvWindowBinding::UpdateTvMenu);
    UpdateTvMenu();
}

// The "&TV" menu follows the enabling of the video window's TV menu.
void CTvWindowBinding::UpdateTvMenu() {
    const CProgramState& state = frame_.State();
    for (const auto& item :
         VideoMenuItems::TvMenu(state.FullScreen(), state.TunedProgramIndex() >= 0))
        if (QAction* action = item.command ? frame_.Action(item.command) : nullptr)
            action->setEnabled(item.enabled);
}

bool CTvWindowBinding::eventFilter(QObject* watched, QEvent* e) {
    if (watched == bar_) {
        if (e->type() == QEvent::Enter) video_->MouseOverTvWindow();
        return false;
    }
    if (watched != &frame_) return false;
    if (PrivateMessageEvent::IsPrivate(e)) {
        const auto* m = static_cast<PrivateMessageEvent*>(e);
        if (m->number() != Msg::RemoteKey || m->wParam() != RemoteFullScreenKey) return false;
        video_->ToggleFullScreen();
        return true;
    }
    if (int(e->type()) < QEvent::User) return false;
    const std::optional<VideoWindowMessage> m = display_.MessageOf(*e);
    return m && video_->VideoMessage(m->number, m->wParam, m->lParam);
}

DisplayModeResult CTvWindowBinding::SetFullScreenMode() { return desktop_.SetFullScreenMode(); }
void CTvWindowBinding::RestoreDisplayMode() { desktop_.RestoreDisplayMode(); }
void CTvWindowBinding::ShowInformation(const QString& caption, const QString& text) {
    CFullScreenDesktop::ShowInformation(&frame_, caption, text);
}
bool CTvWindowBinding::CreateBackground() { return desktop_.CreateBackground(); }
void CTvWindowBinding::DestroyBackground() { desktop_.DestroyBackground(); }
void CTvWindowBinding::ShowBackgroundFailure(const QString& caption, const QString& text) {
    CFullScreenDesktop::ShowStop(&frame_, caption, text);
}

QRect CTvWindowBinding::BarRect() const { return {bar_->mapToGlobal(QPoint(0, 0)), bar_->size()}; }
bool CTvWindowBinding::BarHidden() const { return bar_->isHidden(); }

void CTvWindowBinding::ShowBar() {
    bar_->show();
    frame_.UpdateCommandStates();
}

void CTvWindowBinding::HideBar() {
    bar_->hide();
    frame_.UpdateCommandStates();
}

void CTvWindowBinding::RunMenu(const QString& title, const QList<VideoMenuItems::Item>& items,
                               QPoint at) {
    if (const int command = runMenu_(title, items, at)) video_->Command(command);
}

void CTvWindowBinding::OpenTvMenu(QPoint at) {
    const CProgramState& state = frame_.State();
    RunMenu(TvTexts::TvMenuTitle,
            VideoMenuItems::TvMenu(state.FullScreen(), state.TunedProgramIndex() >= 0), at);
}

void CTvWindowBinding::OpenVcrMenu(QPoint at) {
    RunMenu(TvTexts::VcrMenuTitle, VideoMenuItems::VcrMenu(playbackOpen_(), playlist_()), at);
}

CTvWindowBinding* AttachTvWindow(CMainFrame& frame, IVideoDisplay& display, IDeviceSet* card) {
    return new CTvWindowBinding(frame, display, card);
}
