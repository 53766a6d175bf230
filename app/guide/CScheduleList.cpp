#include "guide/CScheduleList.h"

#include "channellist/Windows1252.h"
#include "guide/GuideTime.h"

void CScheduleList::Start(const CProgramInfo& program) {
    program_ = program;
    serviceName_ = Windows1252ToUtf8(program.Name);
    Clear();
}

void CScheduleList::Clear() {
    records_.clear();
    byStart_.clear();
    notedCount_ = 0;
    notedMs_ = 0;
    reportedCount_ = 0;
    lastSectionNumber_ = 0;
}

bool CScheduleList::Apply(const EitSection& section, int offsetHours, std::int64_t nowMs) {
    if (section.serviceId != program_.ServiceId) return false;
    lastSectionNumber_ = section.lastSectionNumber;
    bool reload = false;
    for (const EitEvent& event : section.events) {
        if (!event.hasShortEvent) continue;
        // An event whose start fails the range check keeps the start a new
        // record has, and so finds the record that kept it.
        ArchiveDateTime start = CEPGInfo::DefaultStart();
        EventStartLocal(event.mjd, event.startBcd, offsetHours, start);
        Fill(RecordAt(start), event, offsetHours);
        if (Settled(nowMs)) reload = true;
    }
    if (reportedCount_ == 0 && !records_.empty()) reload = true;
    if (reload) reportedCount_ = records_.size();
    return reload;
}

CEPGInfo& CScheduleList::RecordAt(const ArchiveDateTime& start) {
    const auto [it, added] =
        byStart_.try_emplace(StartKey{start.status, start.days}, records_.size());
    if (added) {
        auto record = std::make_unique<CEPGInfo>();
        record->Program = program_;
        record->Program.Streams.clear();
        record->Start = start;
        records_.push_back(std::move(record));
    }
    return *records_[it->second];
}

void CScheduleList::Fill(CEPGInfo& record, const EitEvent& event, int offsetHours) const {
    record.ServiceName = serviceName_;
    EventStartLocal(event.mjd, event.startBcd, offsetHours, record.Start);
    record.Duration = DurationDays(event.durationBcd);
    record.ShortText = event.text;
    record.EventName = event.name;
    record.Description = event.extendedText;
    record.ContentLow = event.contentNibbles & 0x0F;
    record.ContentHigh = event.contentNibbles >> 4;
    record.ParentalRating = event.parentalRating;
    record.HeaderBit3 = event.headerByte10 >> 3 & 1;
    record.HeaderLow3 = event.headerByte10 & 0x07;
}

bool CScheduleList::Settled(std::int64_t nowMs) {
    if (records_.size() != notedCount_) {
        notedCount_ = records_.size();
        notedMs_ = nowMs;
        return false;
    }
    return nowMs - notedMs_ > kSettleMs && records_.size() != reportedCount_;
}

const std::vector<std::unique_ptr<CEPGInfo>>& CScheduleList::Records() const { return records_; }

const CProgramInfo& CScheduleList::Program() const { return program_; }

int CScheduleList::LastSectionNumber() const { return lastSectionNumber_; }
