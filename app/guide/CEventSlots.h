#pragma once
// The present/following state of the guide: the running event and the next
// one of the tuned program, from the present/following table (section 0 the
// present event, section 1 the following one).
#include <array>
#include <cstdint>
#include <string>

#include "channellist/ArchiveDateTime.h"
#include "guide/CEPGInfo.h"
#include "guide/EitSection.h"

struct EventSlot {
    bool valid = false;
    std::string name, text, extendedText;
    ArchiveDateTime start = CEPGInfo::DefaultStart();
    ArchiveDateTime duration{ArchiveDateTime::Valid, 0};
    std::uint8_t headerByte10 = 0, parentalRating = 0, contentLow = 0, contentHigh = 0;
};

class CEventSlots {
  public:
    static constexpr int kPresent = 0, kFollowing = 1;

    void Reset();  // both invalid, texts empty, start 1 Jan 2000, duration 0, count 0
    /// Takes a present/following section: section number 0 fills the present
    /// slot, 1 the following one, from the section's first event that has a
    /// short event descriptor; a higher section number (or a schedule table)
    /// changes nothing. Returns true when every section of the table was seen
    /// (slots filled == last_section_number + 1): the reception can stop.
    bool Apply(const EitSection& section, int offsetHours);
    const EventSlot& Slot(int index) const;
    /// The slots that hold an event.
    int Filled() const;

  private:
    std::array<EventSlot, 2> slots_;
};
