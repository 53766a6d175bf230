#include "shell/CVcrBinding.h"

#include <QAction>
#include <QComboBox>

#include "common/CommandIds.h"
#include "frame/CDockingBar.h"
#include "frame/CMainFrame.h"
#include "frame/COptionsBar.h"
#include "receiver/IDeviceSet.h"
#include "recording/CHighLevelBackEnd.h"
#include "recording/CVcrCore.h"
#include "recording/CWSFileStreamer.h"
#include "recording/PlayListStore.h"
#include "recording/windows/CPlayListDialogs.h"
#include "recording/windows/CPlayListWindow.h"
#include "recording/windows/CRecPlayBar.h"
#include "recording/windows/CVcrPrompts.h"

namespace {

const QString kPlayListFile = QStringLiteral("PlayList.dat");

}  // namespace

CVcrBinding::CVcrBinding(CMainFrame& frame, IDeviceSet& devices)
    : QObject(&frame),
      frame_(frame),
      messages_(std::make_unique<CPlayListDialogs>(&frame)),
      playlist_(std::make_unique<CPlayListFile>()),
      highLevel_(std::make_unique<CHighLevelBackEnd>(devices)),
      lowLevel_(std::make_unique<CWSFileStreamer>(devices)),
      prompts_(std::make_unique<CVcrPrompts>(&frame)) {
    LoadPlayListAtStartUp(DataFilePath(kPlayListFile), *playlist_, *messages_);
    RecPlayState& state = frame.VcrState();
    state.lowLevel = frame.Options().lowLevel;
    connect(&frame, &CMainFrame::optionsChanged, this,
            [this] { frame_.VcrState().lowLevel = frame_.Options().lowLevel; });

    VcrHooks hooks;
    hooks.programFilterEnabled = [this](bool on) {
        frame_.OptionsBar()->ProgramFilterBox()->setEnabled(on);
    };
    hooks.modeChanged = [this] {
        if (bar_) bar_->Slider()->setFocus();
    };
    hooks.quickRecording = [this](const QString& path, int format) {
        return quickRecording_ && quickRecording_(path, format);
    };
    hooks.playlistChanged = [this] {
        if (playlistWindow_) playlistWindow_->Refresh();
    };
    core_ = std::make_unique<CVcrCore>(state, *highLevel_, *lowLevel_, *playlist_, *prompts_,
                                       std::move(hooks));
    bar_ = new CRecPlayBar(*core_);
    frame.DockingBar(BarId::VcrBar)->SetContent(bar_);
    connect(core_.get(), &CVcrCore::displayChanged, &frame, &CMainFrame::UpdateVcrCommands);
    frame.UpdateVcrCommands();
    QAction* playlistCommand = frame.Action(Cmd::PlayList);
    playlistCommand->setEnabled(true);
    connect(playlistCommand, &QAction::triggered, this, &CVcrBinding::OpenPlayListWindow);
}

CVcrBinding::~CVcrBinding() {
    // The bar went with the frame's docking bar, unless the binding goes first.
    delete bar_.data();
    core_.reset();
    SavePlayList();
}

void CVcrBinding::OpenPlayListWindow() {
    if (!playlistWindow_) {
        playlistWindow_ =
            new CPlayListWindow(*playlist_, DataFilePath(kPlayListFile), *bar_, &frame_);
        playlistWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    playlistWindow_->show();
    playlistWindow_->raise();
    playlistWindow_->activateWindow();
}

void CVcrBinding::SavePlayList() {
    ::SavePlayList(DataFilePath(kPlayListFile), *playlist_, *messages_);
}

CVcrBinding* AttachVcr(CMainFrame& frame, IDeviceSet& devices) {
    return new CVcrBinding(frame, devices);
}
