#include "tv/CProgramNavigator.h"

#include <QTimerEvent>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "channellist/CSVLFile.h"
#include "common/CProgramState.h"
#include "common/PrivateMessages.h"
#include "receiver/IDeviceSet.h"
#include "tv/CProgramSwitcher.h"
#include "tv/IProgramListHost.h"
#include "tv/TvTexts.h"

namespace {

constexpr std::uint8_t kNumberWindow = 6;
constexpr int kMaxDigits = 3;  // the fourth digit tunes at once
constexpr int kRadioFilter = 1, kTvFilter = 0;
constexpr int kKeyRadio = 12, kKeyTv = 15, kKeyGuide = 34;
constexpr int kStepNext = 2, kStepPrevious = 1;
constexpr int kRequestAudio = 1, kRequestTimer = 2;
constexpr int kOsdPalette = 2;
constexpr std::uint8_t kTextField = 40;

}  // namespace

CProgramNavigator::CProgramNavigator(IProgramListHost& host, CProgramSwitcher& switcher,
                                     IDeviceSet& card, CProgramState& state, QObject* parent)
    : QObject(parent), host_(host), switcher_(switcher), card_(card), state_(state) {}

void CProgramNavigator::TuneRequested(int index) { TuneIndex(index, false); }

void CProgramNavigator::TuneIndex(int index, bool remember) {
    const CSVLFile* list = host_.List();
    if (!list || list->Programs.empty()) return;
    if (index < 0 || static_cast<std::size_t>(index) >= list->Programs.size()) index = 0;
    const CProgramInfo& program = *list->Programs[static_cast<std::size_t>(index)];
    state_.SetTunedProgramIndex(index);
    switcher_.SetTunedProgramName(QString::fromStdString(program.Name));
    if (remember) host_.RememberProgram(index);
    switcher_.SwitchToProgram(*list, program, true);
}

void CProgramNavigator::TuneForTimer(const CProgramInfo& program) {
    const CSVLFile* list = host_.List();
    if (!list) return;
    const auto same = [&program](const std::unique_ptr<CProgramInfo>& p) {
        return p->ServiceId == program.ServiceId && p->Frequency == program.Frequency &&
               p->PolarisationOrQam == program.PolarisationOrQam && p->Name == program.Name;
    };
    const auto found = std::find_if(list->Programs.begin(), list->Programs.end(), same);
    const bool inList = found != list->Programs.end();
    state_.SetTunedProgramIndex(inList ? int(found - list->Programs.begin()) : -1);
    switcher_.SetTunedProgramName(QString::fromStdString(program.Name));
    switcher_.SwitchToProgram(*list, inList ? **found : program, false);
    switcher_.FinishNow();
}

void CProgramNavigator::Step(int direction) {
    const CSVLFile* list = host_.List();
    const int tuned = state_.TunedProgramIndex();
    if (!list || tuned == -1) return;
    // Unsigned, as the list counts: down from the first stays on the first,
    // up from the last wraps to the first.
    unsigned next = static_cast<unsigned>(tuned) + static_cast<unsigned>(direction);
    const unsigned count = static_cast<unsigned>(list->Programs.size());
    if (count == 0) return;
    if (next > count - 1) next = 0;
    TuneIndex(static_cast<int>(next), true);
}

void CProgramNavigator::ShowNumber(const char* format) {
    card_.DestroyOSDWindow(kNumberWindow);
    card_.CreateOSDWindow(kNumberWindow, 0, 300, 35);
    card_.MoveWindowAbs(kNumberWindow, 350, 20);
    card_.SetColor(kNumberWindow, kOsdPalette, 0, 255, 0);
    card_.SetColor(kNumberWindow, kOsdPalette, 1, 64, 0xEB80);
    card_.SetBlend(kNumberWindow, kOsdPalette, 0, 8);
    card_.SetBlend(kNumberWindow, kOsdPalette, 1, 15);
    card_.SetColorBlend(kNumberWindow);
    card_.BringToTop(kNumberWindow);
    char text[48];
    std::snprintf(text, sizeof text, format, enteredNumber_);
    card_.WriteText(kNumberWindow, 0, 0, kTextField, text);
}

void CProgramNavigator::Digit(int digit) {
    numberTimer_.stop();
    enteredNumber_ = enteredNumber_ * 10 + digit;
    ++enteredDigits_;
    numberTimer_.start(kNumberEntryMs, this);
    if (enteredDigits_ <= kMaxDigits) return ShowNumber(TvTexts::EnteringNumber);
    // The fourth digit: the number is complete and tuned at once.
    ShowNumber(TvTexts::EnteredNumber);
    const int number = std::exchange(enteredNumber_, 0);
    numberTimer_.stop();
    enteredDigits_ = 0;
    TuneIndex(number - 1, true);
    card_.DestroyOSDWindow(kNumberWindow);
}

// Two seconds after the last digit.
void CProgramNavigator::timerEvent(QTimerEvent* event) {
    if (event->timerId() != numberTimer_.timerId()) return QObject::timerEvent(event);
    card_.DestroyOSDWindow(kNumberWindow);
    numberTimer_.stop();
    const int number = std::exchange(enteredNumber_, 0);
    enteredDigits_ = 0;
    TuneIndex(number - 1, true);
}

void CProgramNavigator::RemoteKey(int code) {
    if (code >= 0 && code <= 9) return Digit(code);
    if (code == kKeyRadio && host_.ProgramFilter() != kRadioFilter)
        host_.SetProgramFilter(kRadioFilter);
    else if (code == kKeyTv && host_.ProgramFilter() != kTvFilter)
        host_.SetProgramFilter(kTvFilter);
    else if (code == kKeyGuide)
        emit guideToggleRequested();
}

bool CProgramNavigator::eventFilter(QObject* watched, QEvent* event) {
    if (!PrivateMessageEvent::IsPrivate(event)) return QObject::eventFilter(watched, event);
    const auto* m = static_cast<const PrivateMessageEvent*>(event);
    switch (m->number()) {
        case Msg::ProgramStep:
            if (m->wParam() == kStepNext) Step(+1);
            if (m->wParam() == kStepPrevious) Step(-1);
            return true;
        case Msg::RemoteKey:
            RemoteKey(static_cast<int>(m->wParam()));
            return true;
        case Msg::ViewRequest:
            if (m->wParam() == kRequestAudio)
                emit audioChoiceRequested(static_cast<int>(m->lParam()));
            if (m->wParam() == kRequestTimer) emit quickTimerRequested();
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}
