#include "guide/CGuideReception.h"

#include <QTimer>

#include "channellist/CProgramInfo.h"
#include "guide/EitSection.h"
#include "receiver/IDeviceSet.h"
#include "receiver/ServiceEventFilter.h"

namespace {

constexpr int kShutDownMs = 10, kCloseMs = 50, kScheduleShutDownMs = 50;

std::span<const std::uint8_t> BytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

}  // namespace

CGuideReception::CGuideReception(IDeviceSet& card, Hooks hooks, QObject* parent)
    : QObject(parent), card_(card), hooks_(std::move(hooks)) {
    events_.Reset();
}

CGuideReception::~CGuideReception() = default;

void CGuideReception::Wait(int ms) const {
    if (hooks_.wait) hooks_.wait(ms);
}

void CGuideReception::ResetEvents() {
    events_.Reset();
    eventsStopping_ = false;
    emit eventsChanged();
}

void CGuideReception::TakeEventSection(const QByteArray& datagram) {
    if (eventsStopping_) return;
    const auto section = ParseEitSection(BytesOf(datagram));
    if (!section || !section->IsPresentFollowing()) return;
    const bool complete = events_.Apply(*section, Offset());
    emit eventsChanged();
    if (!complete) return;
    // Every section of the table is in: the filter goes, outside the
    // receiver's own callback.
    eventsStopping_ = true;
    QTimer::singleShot(0, this, &CGuideReception::StopEvents);
}

void CGuideReception::StopEvents() {
    if (!eventsStopping_) return;  // a switch started a new reception meanwhile
    card_.ShutDownFilter(FilterRole::Event);
    Wait(kShutDownMs);
    card_.CloseReceiver(FilterRole::Event);
    Wait(kCloseMs);
}

void CGuideReception::StopSchedule() {
    card_.ShutDownFilter(FilterRole::Schedule);
    Wait(kScheduleShutDownMs);
    card_.CloseReceiver(FilterRole::Schedule);
    Wait(kCloseMs);
}

void CGuideReception::StartSchedule(const CProgramInfo* program) {
    StopSchedule();
    if (!program) return;
    schedule_.Start(*program);
    emit scheduleChanged();
    // Tables 0x50 and 0x60, the first schedule tables (only the low nibble
    // of the table id is compared), of the program's service.
    const auto filter = ServiceEventFilter::For(0x50, 0x0F, *program);
    const bool set = card_
                         .SetBitFilter(FilterRole::Schedule, ServiceEventFilter::kPid, filter.bytes,
                                       filter.mask, ServiceEventFilter::kType)
                         .Ok();
    const bool opened =
        set && card_.OpenReceiver(FilterRole::Schedule, [this](std::span<const std::uint8_t> d) {
            TakeScheduleSection(d);
        });
    if (!opened && hooks_.filterFailed) hooks_.filterFailed();
}

void CGuideReception::TakeScheduleSection(std::span<const std::uint8_t> datagram) {
    const auto section = ParseEitSection(datagram);
    if (!section) return;
    const std::int64_t now = hooks_.nowMs ? hooks_.nowMs() : 0;
    if (schedule_.Apply(*section, Offset(), now)) emit scheduleChanged();
}

void CGuideReception::StopAll() {
    eventsStopping_ = true;
    StopEvents();
    StopSchedule();
}

std::vector<const CEPGInfo*> CGuideReception::ScheduleRecords() const {
    std::vector<const CEPGInfo*> records;
    records.reserve(schedule_.Records().size());
    for (const auto& record : schedule_.Records()) records.push_back(record.get());
    return records;
}
