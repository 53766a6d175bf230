#include "shell/CCiBinding.h"

#include <QAction>

#include "channellist/CProgramInfo.h"
#include "ci/windows/CCIMenuDialog.h"
#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/CMainFrame.h"
#include "receiver/IDeviceSet.h"
#include "shell/CTvBinding.h"

namespace {
constexpr int kRestartAudio = 12, kCaMenu = 13;
}

CCiBinding::CCiBinding(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card)
    : QObject(&frame), frame_(frame), tv_(tv), card_(card) {
    card_.SetCiListener(this);
    slotStatusTimer_.setInterval(TimerId::CamSlotStatusPeriodMs);
    connect(&slotStatusTimer_, &QTimer::timeout, this, [this] { card_.GetSlotStatus(); });
    slotStatusTimer_.start();
    const int commands[2] = {Cmd::CiSlot1, Cmd::CiSlot2};
    for (int slot = 1; slot <= 2; ++slot) {
        QAction* action = frame.Action(commands[slot - 1]);
        connect(action, &QAction::triggered, this, [this, slot] { OpenMenu(slot); });
    }
    UpdateSlotCommands();
}

CCiBinding::~CCiBinding() {
    slotStatusTimer_.stop();
    card_.SetCiListener(nullptr);
    delete dialog_.data();
}

void CCiBinding::UpdateSlotCommands() {
    frame_.Action(Cmd::CiSlot1)->setEnabled(flags_.Ready(1));
    frame_.Action(Cmd::CiSlot2)->setEnabled(flags_.Ready(2));
}

void CCiBinding::OpenMenu(int slot) {
    if (!dialog_) {
        dialog_ = new CCIMenuDialog(
            [this](const std::vector<std::uint8_t>& keys) { card_.InputReply(keys); },
            frame_.View() ? frame_.View() : &frame_);
    }
    dialog_->ShowWaiting(slot);
    card_.EnterModuleMenu(static_cast<std::uint8_t>(slot));
}

void CCiBinding::OnSlotStatus(int slot, int status) {
    if (flags_.Apply(slot, status)) UpdateSlotCommands();
    PrivateMessages::Send(Msg::CamSlotStatus, slot, status);
}

void CCiBinding::OnCaStatus(int first, int type) {
    if (type == kRestartAudio) {
        if (const CProgramInfo* tuned = tv_.TunedProgram()) card_.SetAudioPID(tuned->AudioPid);
    } else if (type == kCaMenu) {
        PrivateMessages::PostTo(MessageWindow::View, Msg::CiMenu, first, kCaMenu);
    }
}

void CCiBinding::OnModuleText(std::span<const std::uint8_t> message, CiTextKind) {
    if (dialog_) dialog_->ShowModuleText(message);
}

void CCiBinding::OnSwitchOff() {
    if (dialog_) dialog_->SwitchOff();
}

void CCiBinding::OnInputRequest(bool blind, int answerLength) {
    if (dialog_) dialog_->SetInputRequest(blind, answerLength);
}

CCiBinding* AttachCi(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card) {
    return new CCiBinding(frame, tv, card);
}
