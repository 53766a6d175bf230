#include "guide/CEventSlots.h"

#include <algorithm>

#include "guide/GuideTime.h"

namespace {

const EitEvent* FirstNamedEvent(const EitSection& section) {
    const auto it = std::find_if(section.events.begin(), section.events.end(),
                                 [](const EitEvent& e) { return e.hasShortEvent; });
    return it == section.events.end() ? nullptr : &*it;
}

}  // namespace

void CEventSlots::Reset() { slots_ = {}; }

bool CEventSlots::Apply(const EitSection& section, int offsetHours) {
    if (!section.IsPresentFollowing()) return false;
    const int index = section.sectionNumber;
    if (index == kPresent || index == kFollowing) {
        if (const EitEvent* event = FirstNamedEvent(section)) {
            EventSlot& slot = slots_[std::size_t(index)];
            slot.valid = true;
            slot.name = event->name;
            slot.text = event->text;
            slot.extendedText = event->extendedText;
            EventStartLocal(event->mjd, event->startBcd, offsetHours, slot.start);
            slot.duration = DurationDays(event->durationBcd);
            slot.headerByte10 = event->headerByte10;
            slot.parentalRating = event->parentalRating;
            slot.contentLow = event->contentNibbles & 0x0F;
            slot.contentHigh = event->contentNibbles >> 4;
        }
    }
    return Filled() == section.lastSectionNumber + 1;
}

const EventSlot& CEventSlots::Slot(int index) const {
    return slots_[index == kFollowing ? std::size_t(kFollowing) : std::size_t(kPresent)];
}

int CEventSlots::Filled() const {
    return int(
        std::count_if(slots_.begin(), slots_.end(), [](const EventSlot& s) { return s.valid; }));
}
