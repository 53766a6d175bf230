#include "shell/CGuideBinding.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSettings>
#include <QThread>

#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/CMainFrame.h"
#include "guide/CGuideReception.h"
#include "guide/COsdGuide.h"
#include "guide/GuideTexts.h"
#include "guide/windows/CScheduleListWindow.h"
#include "receiver/IDeviceSet.h"
#include "shell/CTvBinding.h"
#include "tv/CProgramNavigator.h"
#include "tv/CProgramSwitcher.h"

namespace {

const QString kGuidePageKey = QStringLiteral("Einstellungen/CurrentNextEvent");

// Keys of the video window (message 1231).
constexpr int kKeyPresent = 1, kKeyFollowing = 2, kKeyScrollUp = 7, kKeyScrollDown = 8;

void ShowFilterFailure(QWidget* owner) {
    QMessageBox box(QMessageBox::Critical, GuideTexts::ErrorCaption, GuideTexts::FilterFailed,
                    QMessageBox::Ok, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

CGuideReception::Hooks ReceptionHooks(CMainFrame& frame) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    CGuideReception::Hooks hooks;
    hooks.offsetHours = [&frame] { return int(frame.Options().guideHourOffset); };
    hooks.nowMs = [clock] { return std::int64_t(clock->elapsed()); };
    hooks.wait = [](int ms) { QThread::msleep(ms); };
    hooks.filterFailed = [&frame] { ShowFilterFailure(&frame); };
    return hooks;
}

}  // namespace

CGuideBinding::CGuideBinding(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card)
    : QObject(&frame),
      frame_(frame),
      tv_(tv),
      reception_(std::make_unique<CGuideReception>(card, ReceptionHooks(frame))) {
    guidePage_ = QSettings().value(kGuidePageKey, 0).toInt() == 1 ? 1 : 0;
    CProgramSwitcher& switcher = tv.Switcher();
    COsdGuide::Context context;
    context.tunedIndex = [&frame] { return frame.State().TunedProgramIndex(); };
    context.tunedName = [&switcher] { return switcher.TunedProgramName(); };
    context.now = [] { return QTime::currentTime(); };
    osd_ = new COsdGuide(card, reception_->Events(), std::move(context), this);
    tv.SetGuideShown([this] { return osd_->Shown(); });

    connect(&switcher, &CProgramSwitcher::eventReceptionReset, reception_.get(),
            &CGuideReception::ResetEvents);
    connect(&switcher, &CProgramSwitcher::eventSectionArrived, reception_.get(),
            &CGuideReception::TakeEventSection);
    connect(&switcher, &CProgramSwitcher::shortInfoRequested, osd_,
            [this] { osd_->Request(true, false, COsdGuide::ShortInfo); });
    connect(&switcher, &CProgramSwitcher::guideClosed, osd_,
            [this] { osd_->Request(false, false, COsdGuide::Close); });
    connect(&tv.Navigator(), &CProgramNavigator::guideToggleRequested, osd_,
            [this] { osd_->Toggle(guidePage_); });
    if (QWidget* view = frame.View()) view->installEventFilter(this);

    QAction* toggle = frame.Action(Cmd::OsdGuide);
    toggle->setEnabled(true);
    connect(toggle, &QAction::triggered, osd_, [this] { osd_->Toggle(guidePage_); });
    QAction* schedule = frame.Action(Cmd::ScheduleList);
    schedule->setEnabled(true);
    connect(schedule, &QAction::triggered, this, &CGuideBinding::OpenScheduleList);
}

CGuideBinding::~CGuideBinding() = default;

bool CGuideBinding::eventFilter(QObject* watched, QEvent* event) {
    if (!PrivateMessageEvent::IsPrivate(event)) return QObject::eventFilter(watched, event);
    const auto* m = static_cast<const PrivateMessageEvent*>(event);
    if (m->number() == Msg::GuidePage) {
        osd_->PageMessage(int(m->wParam()));
        return true;
    }
    if (m->number() == Msg::GuideKeys) {
        GuideKey(int(m->wParam()));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CGuideBinding::GuideKey(int code) {
    switch (code) {
        case kKeyPresent:
        case kKeyFollowing:
            SetGuidePage(code == kKeyPresent ? 0 : 1);
            osd_->ShowPage(guidePage_);
            break;
        case kKeyScrollUp:
            osd_->Scroll(-1);
            break;
        case kKeyScrollDown:
            osd_->Scroll(+1);
            break;
        default:
            break;
    }
}

void CGuideBinding::SetGuidePage(int page) {
    if (page == guidePage_) return;
    guidePage_ = page;
    QSettings().setValue(kGuidePageKey, page);
}

void CGuideBinding::OpenScheduleList() {
    if (window_) return window_->raise();
    ScheduleWindowHooks hooks;
    hooks.records = [this] { return reception_->ScheduleRecords(); };
    hooks.startReception = [this] { reception_->StartSchedule(tv_.TunedProgram()); };
    hooks.stopReception = [this] { reception_->StopSchedule(); };
    hooks.addToTimerList = [this](const CEPGInfo& event) {
        return addToTimerList_ && addToTimerList_(event);
    };
    CScheduleListWindow window(std::move(hooks), &frame_);
    window_ = &window;
    const auto reload = connect(reception_.get(), &CGuideReception::scheduleChanged, &window,
                                &CScheduleListWindow::Reload);
    window.exec();
    disconnect(reload);
}

CGuideBinding* AttachGuide(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card) {
    return new CGuideBinding(frame, tv, card);
}
