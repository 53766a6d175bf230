#pragma once
// The schedule receiver's state: the events of one program, one record per
// start time, filled from the present/following and schedule sections of the
// program's service as they arrive, and the sign that the list has settled so
// that its window may reload.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "channellist/CProgramInfo.h"
#include "guide/CEPGInfo.h"
#include "guide/EitSection.h"

class CScheduleList {
  public:
    /// A list that settles when it has not grown for this long.
    static constexpr std::int64_t kSettleMs = 5000;

    /// Starts a new reception for the program: keeps a copy, clears the list.
    void Start(const CProgramInfo& program);
    void Clear();
    /// Takes a section (present/following and schedule tables alike: every
    /// event with a short event descriptor) of the program's own service. An
    /// event updates the record with its start time, or a new one appended.
    /// True when the window should reload: when the first records came in,
    /// and once each time the list has not grown for more than kSettleMs
    /// (the count and the time are noted when it grows), so that a window
    /// fills as soon as there is something to show and again when the list
    /// is complete, not with every section of the carousel.
    bool Apply(const EitSection& section, int offsetHours, std::int64_t nowMs);
    /// The records in the order they first came. Only Apply changes them (the
    /// list keeps an index by start time).
    const std::vector<std::unique_ptr<CEPGInfo>>& Records() const;
    const CProgramInfo& Program() const;
    /// last_section_number of the last section taken, 0 before one.
    int LastSectionNumber() const;

  private:
    using StartKey = std::pair<std::int32_t, double>;

    CEPGInfo& RecordAt(const ArchiveDateTime& start);
    void Fill(CEPGInfo& record, const EitEvent& event, int offsetHours) const;
    bool Settled(std::int64_t nowMs);

    CProgramInfo program_;
    std::string serviceName_;  ///< the program's name in UTF-8
    std::vector<std::unique_ptr<CEPGInfo>> records_;
    std::map<StartKey, std::size_t> byStart_;
    std::size_t notedCount_ = 0;
    std::int64_t notedMs_ = 0;
    std::size_t reportedCount_ = 0;  ///< the count at the last reload
    int lastSectionNumber_ = 0;
};
