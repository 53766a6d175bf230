#include "recording/CTimerScheduler.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "channellist/Windows1252.h"
#include "receiver/IDeviceSet.h"
#include "recording/CSleepInhibitor.h"
#include "recording/TimerTexts.h"

namespace {

constexpr int kModeRecording = 1;
constexpr int kSettleMs = 50;

int SecondsOfDay(const QTime& t) { return t.hour() * 3600 + t.minute() * 60 + t.second(); }

}  // namespace

CTimerScheduler::CTimerScheduler(std::vector<CTimerEntry>& entries, RecPlayState& state,
                                 IRecPlayBackEnd& highLevel, IRecPlayBackEnd& lowLevel,
                                 IDeviceSet& devices, TimerHooks hooks, QObject* parent)
    : QObject(parent),
      entries_(entries),
      state_(state),
      highLevel_(highLevel),
      lowLevel_(lowLevel),
      devices_(devices),
      hooks_(std::move(hooks)) {
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &CTimerScheduler::Tick);
}

QDateTime CTimerScheduler::Now() const {
    const QDateTime now = hooks_.now ? hooks_.now() : QDateTime::currentDateTime();
    const QTime t = now.time();
    return QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second()));
}

QString CTimerScheduler::RecordingFileName(const CTimerEntry& entry, const QDateTime& now) {
    const QString name = QString::fromStdString(entry.fileName);
    if (!entry.Weekly()) return name;
    const QDate d = now.date();
    const QTime t = now.time();
    const QString stamp = QString::asprintf("-%02d%02d%04d-%02d%02d%02d", d.day(), d.month(),
                                            d.year(), t.hour(), t.minute(), t.second());
    // The extension's dot: the last one after the last folder separator.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < name.lastIndexOf(QLatin1Char('/'))) return name + stamp;
    return name.left(dot) + stamp + name.mid(dot);
}

void CTimerScheduler::Tick() {
    startedNow_ = true;
    if (entries_.empty()) {
        if (inhibitor_) inhibitor_->Release();
        return;
    }
    const QDateTime now = Now();
    std::vector<std::uint32_t> before;
    for (const CTimerEntry& e : entries_) before.push_back(e.status);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        CTimerEntry& e = entries_[i];
        if (!e.Start().isValid() || !e.End().isValid()) continue;
        if (e.Weekly())
            TickWeekly(e, now);
        else
            TickOnce(e, now);
    }
    if (startedNow_) timerRecording_ = false;
    if (inhibitor_ && !Recording()) inhibitor_->Release();
    bool changed = before.size() != entries_.size();
    for (std::size_t i = 0; !changed && i < entries_.size(); ++i)
        changed = before[i] != entries_[i].status;
    if (changed) emit listChanged();
}

void CTimerScheduler::TickWeekly(CTimerEntry& e, const QDateTime& now) {
    const int nowSec = SecondsOfDay(now.time());
    const int startSec = SecondsOfDay(e.Start().time());
    const int endSec = SecondsOfDay(e.End().time());
    const bool recording = state_.mode == kModeRecording;
    if ((e.flags & CTimerEntry::DayBit(now.date().dayOfWeek())) == 0) {
        if (!recording && e.status == CTimerEntry::Recording) {
            e.status = CTimerEntry::Finished;
            devices_.DestroyOSDWindow(kOsdWindow);
        }
        if (now >= e.End() && e.status == CTimerEntry::Recording) {
            e.status = CTimerEntry::Finished;
            if (recording) StopRecording(e);
            timerRecording_ = false;
        }
        return;
    }
    if (nowSec > startSec && e.status == CTimerEntry::Armed && !timerRecording_ &&
        endSec >= startSec && nowSec < endSec)
        return StartRecording(e, now);
    if (e.status != CTimerEntry::Recording) return;
    const bool goesOn =
        endSec > startSec ? nowSec <= endSec : nowSec <= endSec || nowSec > startSec;
    if (goesOn) return;
    // Over for today: armed again for the next selected day.
    e.status = CTimerEntry::Armed;
    if (recording) StopRecording(e);
    timerRecording_ = false;
}

void CTimerScheduler::TickOnce(CTimerEntry& e, const QDateTime& now) {
    const QDateTime end = e.End();
    if (now >= e.Start() && e.status == CTimerEntry::Armed && !timerRecording_ && now < end)
        return StartRecording(e, now);
    // Stopped by other means (the VCR bar, a card that went away).
    if (state_.mode != kModeRecording && e.status == CTimerEntry::Recording) {
        e.status = CTimerEntry::Finished;
        devices_.DestroyOSDWindow(kOsdWindow);
    }
    if (now >= end && e.status == CTimerEntry::Recording) {
        e.status = CTimerEntry::Finished;
        if (state_.mode == kModeRecording) StopRecording(e);
        timerRecording_ = false;
    }
}

// The entry records from now on, even when its file does not open: the next
// ticks then see no recording and end it.
void CTimerScheduler::StartRecording(CTimerEntry& e, const QDateTime& now) {
    e.status = CTimerEntry::Recording;
    timerRecording_ = true;
    startedNow_ = false;
    if (hooks_.switchProgram) hooks_.switchProgram(e.program);
    if (hooks_.stopGuideReception) hooks_.stopGuideReception();
    state_.sizeMB = 0;
    state_.format = CTimerEntry::VcrFormatOfIndex(e.formatIndex);
    Vcr(VcrCommand::Close);
    const QString path = RecordingFileName(e, now);
    Vcr(VcrCommand::SetFileName, path);
    if (BackEnd().Open(QFile::encodeName(path).toStdString(), state_.format, 0) != 1) return;
    state_.playbackOpen = 0;
    state_.recordOpen = 1;
    Vcr(VcrCommand::Record);
    ShowOsd(path);
    if (inhibitor_) inhibitor_->Acquire();
    emit listChanged();
    StatusText(TimerTexts::PaneActive);
}

// After the back end the VCR closes too: it then shows no open file and does
// not take the stop for a recording that ended by itself.
void CTimerScheduler::StopRecording(const CTimerEntry& e) {
    BackEnd().Stop();
    Wait(kSettleMs);
    BackEnd().Close();
    Wait(kSettleMs);
    Vcr(VcrCommand::Close);
    devices_.DestroyOSDWindow(kOsdWindow);
    StatusText(TimerTexts::PaneInactive);
    if (inhibitor_) inhibitor_->Release();
    if (e.PowerOff() && hooks_.powerOff) {
        hooks_.powerOff();
        emit listChanged();
    }
}

void CTimerScheduler::ShowOsd(const QString& path) {
    const std::string name = Utf8ToWindows1252Lossy(QFileInfo(path).fileName().toStdString());
    const std::uint8_t w = kOsdWindow;
    devices_.CreateOSDWindow(w, 0, 655, 38);
    devices_.WriteText(w, 50, 0, 40, "Recording " + name);
    devices_.MoveWindowAbs(w, 35, 20);
    devices_.SetColor(w, 2, 0, 0, 0x8000);
    devices_.SetColor(w, 2, 1, 0, 0xFF);
    devices_.SetBlend(w, 2, 0, 0);
    devices_.SetBlend(w, 2, 1, 15);
    devices_.SetColorBlend(w);
    devices_.BringToTop(w);
}

void CTimerScheduler::Vcr(VcrCommand code, const QString& text) {
    if (hooks_.vcrCommand) hooks_.vcrCommand(int(code), text);
}

void CTimerScheduler::Wait(int ms) const {
    if (hooks_.wait)
        hooks_.wait(ms);
    else
        QThread::msleep(static_cast<unsigned long>(ms));
}

void CTimerScheduler::StatusText(const QString& text) const {
    if (hooks_.statusText) hooks_.statusText(text);
}

bool CTimerScheduler::Recording() const {
    for (const CTimerEntry& e : entries_)
        if (e.status == CTimerEntry::Recording) return true;
    return false;
}
