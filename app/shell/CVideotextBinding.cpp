#include "shell/CVideotextBinding.h"

#include <QAction>

#include "channellist/CProgramInfo.h"
#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "receiver/IReceiver.h"
#include "shell/CTvBinding.h"
#include "tv/CProgramSwitcher.h"
#include "videotext/windows/CVideotextDlg.h"
#include "videotext/windows/VtWindowTexts.h"

CVideotextBinding::CVideotextBinding(CMainFrame& frame, CTvBinding& tv, ReceiverSource receiver)
    : QObject(&frame),
      frame_(frame),
      tv_(tv),
      receiver_(std::move(receiver)),
      runner_([](CVideotextDlg& dialog) { dialog.exec(); }) {
    connect(frame.Action(Cmd::Videotext), &QAction::triggered, this, &CVideotextBinding::Open);
    // The switch turns the new program's teletext on after this signal: the
    // pages of the old one are gone.
    connect(&tv.Switcher(), &CProgramSwitcher::teletextCacheCleared, this, [this] {
        cache_.Clear();
        UpdateCommand();
    });
    connect(&frame.State(), &CProgramState::tunedProgramIndexChanged, this,
            &CVideotextBinding::UpdateCommand);
    UpdateCommand();
}

void CVideotextBinding::UpdateCommand() {
    frame_.Action(Cmd::Videotext)
        ->setEnabled(!dialog_ && tv_.TunedProgram() && receiver_ && receiver_());
}

void CVideotextBinding::Open() {
    const CProgramInfo* program = tv_.TunedProgram();
    IReceiver* receiver = receiver_ ? receiver_() : nullptr;
    if (dialog_ || !program || !receiver) return;
    const std::uint16_t pid = program->TeletextPid;
    CVideotextDlg dialog(cache_, frame_.View() ? frame_.View() : &frame_);
    if (!dialog.Open()) return;
    dialog_ = &dialog;
    UpdateCommand();
    SubscribeError error;
    CSubscription teletext =
        pid ? receiver->SubscribeTeletext(
                  pid, [&dialog](std::span<const std::uint8_t> page) { dialog.PageArrived(page); },
                  &error)
            : CSubscription{};
    subscribed_ = static_cast<bool>(teletext);
    if (!subscribed_) {
        dialog.Refuse(pid ? VtWindowTexts::TeletextRefused(error.code) : VtWindowTexts::NoTeletext);
    } else {
        runner_(dialog);
    }
    teletext.Reset();  // the card's teletext goes off with the window
    dialog_ = nullptr;
    UpdateCommand();
}

CVideotextBinding* AttachVideotext(CMainFrame& frame, CTvBinding& tv,
                                   CVideotextBinding::ReceiverSource receiver) {
    return new CVideotextBinding(frame, tv, std::move(receiver));
}
