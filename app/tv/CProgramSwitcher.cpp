#include "tv/CProgramSwitcher.h"

#include <QThread>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CSVLFile.h"
#include "channellist/CTuningPlan.h"
#include "common/CProgramState.h"
#include "common/PrivateMessages.h"
#include "mpegts/LanguageNames.h"
#include "receiver/ChannelRecords.h"
#include "receiver/IDeviceSet.h"
#include "receiver/ServiceEventFilter.h"
#include "tv/TvTexts.h"

namespace {

constexpr int kVcrRecording = 1, kVcrPlaying = 2;
constexpr int kVcrStop = 7, kVcrClose = 2;
constexpr std::uint8_t kRecordingOsdWindow = 5;
constexpr std::array<std::uint8_t, 3> kGuideOsdWindows = {1, 2, 3};
constexpr std::uint16_t kAudioStreamMpeg1 = 3, kAudioStreamMpeg2 = 4;
constexpr std::uint8_t kRepeatedFraming = 0xE1;
constexpr int kSettleMs = 50;           // after tuning and each CAM or decoder call
constexpr int kFilterShutDownMs = 100;  // before the event filter is set anew

QString LanguageText(const CStreaminfo& stream) {
    const std::string code = stream.LanguageCode();
    if (code.empty()) return TvTexts::NoLanguageInfo;
    const std::string_view german = mpegts::LanguageNames::German(code);
    return german.empty() ? QString::fromStdString(code)
                          : QString::fromUtf8(german.data(), static_cast<qsizetype>(german.size()));
}

}  // namespace

AudioChoices AudioChoicesFor(const CProgramInfo& program, std::uint16_t currentPid) {
    AudioChoices choices;
    if (program.Streams.empty()) {
        choices.items.push_back({TvTexts::NoStreams, currentPid});
        choices.selected = 0;
        return choices;
    }
    for (const CStreaminfo& stream : program.Streams) {
        if (stream.StreamType != kAudioStreamMpeg1 && stream.StreamType != kAudioStreamMpeg2)
            continue;
        if (stream.Pid == currentPid && choices.selected < 0)
            choices.selected = static_cast<int>(choices.items.size());
        choices.items.push_back({LanguageText(stream), stream.Pid});
    }
    return choices;
}

CProgramSwitcher::CProgramSwitcher(IDeviceSet& card, CProgramState& state, QObject* parent)
    : QObject(parent), card_(card), state_(state) {
    qRegisterMetaType<AudioChoices>();
    pause_.setSingleShot(true);
    pause_.setTimerType(Qt::PreciseTimer);
    connect(&pause_, &QTimer::timeout, this, &CProgramSwitcher::RunSteps);
}

CProgramSwitcher::~CProgramSwitcher() = default;

// A running recording or playback ends first, when the user agrees.
bool CProgramSwitcher::EndVcrFor(bool interactive) {
    const int mode = hooks_.vcrMode ? hooks_.vcrMode() : 0;
    const auto agreed = [this](const QString& question) {
        return hooks_.confirm && hooks_.confirm(question);
    };
    if (mode == kVcrRecording) {
        if (interactive && !agreed(TvTexts::EndRecording)) return false;
        PrivateMessages::SendTo(MessageWindow::VcrBar, Msg::VcrCommand, kVcrStop, 0);
        PrivateMessages::SendTo(MessageWindow::VcrBar, Msg::VcrCommand, kVcrClose, 0);
        card_.DestroyOSDWindow(kRecordingOsdWindow);
    } else if (mode == kVcrPlaying) {
        if (!agreed(TvTexts::EndPlayback)) return false;
        PrivateMessages::SendTo(MessageWindow::VcrBar, Msg::VcrCommand, kVcrStop, 0);
    }
    return true;
}

void CProgramSwitcher::CloseGuide() {
    emit guideClosed();
    for (const std::uint8_t window : kGuideOsdWindows) card_.DestroyOSDWindow(window);
}

void CProgramSwitcher::SwitchToProgram(const CSVLFile& list, const CProgramInfo& program,
                                       bool interactive) {
    if (!EndVcrFor(interactive)) return;
    CloseGuide();
    const CLnb* lnb = list.FindLnb(program.LnbName);
    if (!lnb) return;  // the card stays where it is
    sinceRequest_.start();
    switchPending_ = true;
    // The rest of a switch under way gives way to this one; other work queued
    // before it (the reception stopped for a refill) still runs first.
    std::erase_if(steps_, [](const Step& step) { return step.ofSwitch; });
    for (Step& step : StepsFor(list, program, interactive)) {
        step.ofSwitch = true;
        steps_.push_back(std::move(step));
    }
    // A pause under way belongs to the card's last command: it is kept.
    if (!pause_.isActive() && !inStep_) RunSteps();
}

void CProgramSwitcher::AddSwitchCommand(std::vector<Step>& steps, const CTuningPlan& plan) {
    std::vector<std::uint8_t> bytes = plan.SwitchBytes;
    const std::uint8_t burst = plan.SwitchBurst;
    for (int i = 0; i < plan.SwitchRepeats; ++i) {
        steps.push_back(
            {[this, bytes, burst] { card_.SendDiSEqCMsg(bytes, burst); }, plan.SwitchPauseMs});
        if (!bytes.empty()) bytes[0] = kRepeatedFraming;
    }
}

std::vector<CProgramSwitcher::Step> CProgramSwitcher::StepsFor(const CSVLFile& list,
                                                               const CProgramInfo& program,
                                                               bool interactive) {
    const CTuningPlan plan = CTuningPlan::For(program, *list.FindLnb(program.LnbName));
    std::vector<Step> steps;
    AddSwitchCommand(steps, plan);
    const ChannelRecord channel = ChannelRecords::FromPlan(plan);
    const std::uint16_t sid = program.ServiceId, video = program.VideoPid, audio = program.AudioPid,
                        teletext = program.TeletextPid;
    steps.push_back({[this, channel] { card_.zSetChannel(channel); }, kSettleMs});
    steps.push_back({[this] { card_.SendTime(); }, kSettleMs});
    steps.push_back({[this, sid] { card_.ReadPSIFast(sid); }, kSettleMs});
    steps.push_back({[this, video] { card_.SetVideoPID(video); }, kSettleMs});
    steps.push_back({[this, audio] {
                         card_.SetAudioPID(audio);
                         state_.SetCurrentAudioPid(audio);
                     },
                     0});
    const CProgramInfo copy = program;  // the list may change while the switch runs
    steps.push_back({[this, copy] {
                         std::uint16_t current = state_.CurrentAudioPid();
                         std::uint16_t read = 0;
                         if (card_.GetAudioPid(read).Ok()) current = read;
                         emit audioChoicesChanged(AudioChoicesFor(copy, current));
                     },
                     0});
    if (interactive) AddEventReception(steps, program);
    steps.push_back({[this, teletext] {
                         card_.TTXOff();
                         emit teletextCacheCleared();
                         card_.TTXOn(teletext);
                     },
                     0});
    return steps;
}

void CProgramSwitcher::AddEventReception(std::vector<Step>& steps, const CProgramInfo& program) {
    steps.push_back({[this] {
                         emit eventReceptionReset();
                         card_.ShutDownFilter(FilterRole::Event);
                     },
                     kFilterShutDownMs});
    // Table 0x4E, present/following of the actual stream; only the service is compared.
    const auto filter = ServiceEventFilter::For(0x4E, 0x00, program);
    steps.push_back({[this, filter] {
                         card_.CloseReceiver(FilterRole::Event);
                         const bool set =
                             card_
                                 .SetBitFilter(FilterRole::Event, ServiceEventFilter::kPid,
                                               filter.bytes, filter.mask, ServiceEventFilter::kType)
                                 .Ok();
                         const auto deliver = [this](std::span<const std::uint8_t> datagram) {
                             emit eventSectionArrived(
                                 QByteArray(reinterpret_cast<const char*>(datagram.data()),
                                            static_cast<qsizetype>(datagram.size())));
                         };
                         if (set)
                             card_.OpenReceiver(FilterRole::Event, deliver);
                         else if (hooks_.siFilterFailed)
                             hooks_.siFilterFailed();
                         emit shortInfoRequested();
                     },
                     0});
}

void CProgramSwitcher::StopReception() {
    const auto stop = [this](FilterRole filter, int shutDownPauseMs) {
        steps_.push_back({[this, filter] { card_.ShutDownFilter(filter); }, shutDownPauseMs});
        steps_.push_back({[this, filter] { card_.CloseReceiver(filter); }, kSettleMs});
    };
    stop(FilterRole::Event, 10);
    stop(FilterRole::Schedule, kSettleMs);
    if (!pause_.isActive() && !inStep_) RunSteps();
}

void CProgramSwitcher::FinishNow() {
    if (inStep_) return;  // called from a step's message box: the loop goes on there
    if (pause_.isActive()) {
        QThread::msleep(std::max(0, pause_.remainingTime()));
        pause_.stop();
    }
    while (!steps_.empty()) {
        Step step = std::move(steps_.front());
        steps_.pop_front();
        inStep_ = true;
        step.run();
        inStep_ = false;
        if (step.pauseMs > 0) QThread::msleep(step.pauseMs);
    }
    if (!switchPending_) return;
    switchPending_ = false;
    emit switchFinished(sinceRequest_.elapsed());
}

void CProgramSwitcher::RunSteps() {
    while (!steps_.empty()) {
        Step step = std::move(steps_.front());
        steps_.pop_front();
        inStep_ = true;
        step.run();  // may ask for another switch (a message box runs the loop)
        inStep_ = false;
        if (step.pauseMs > 0) {
            pause_.start(step.pauseMs);
            return;
        }
    }
    if (!switchPending_) return;
    switchPending_ = false;
    emit switchFinished(sinceRequest_.elapsed());
}
