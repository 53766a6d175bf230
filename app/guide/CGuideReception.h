#pragma once
// The guide's two receivers on the card: the present/following events of the
// tuned service, whose sections the program switch's event filter delivers,
// and the schedule of the tuned program on the schedule filter. Each
// datagram is one section; it is decoded on the GUI thread as it arrives.
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <functional>
#include <vector>

#include "guide/CEventSlots.h"
#include "guide/CScheduleList.h"

class CEPGInfo;
class CProgramInfo;
class IDeviceSet;

class CGuideReception : public QObject {
    Q_OBJECT
  public:
    struct Hooks {
        /// The setting "Zeitoffset EPD" in hours.
        std::function<int()> offsetHours;
        /// Milliseconds of a steady clock (the change tracking of the schedule).
        std::function<std::int64_t()> nowMs;
        /// The pauses the card needs between its filter calls.
        std::function<void(int ms)> wait;
        /// "Der Filter für die SI wurde nicht gesetzt!"
        std::function<void()> filterFailed;
    };

    CGuideReception(IDeviceSet& card, Hooks hooks, QObject* parent = nullptr);
    ~CGuideReception() override;

    /// A switch starts a new present/following reception: both slots empty.
    void ResetEvents();
    /// One datagram of the event filter.
    void TakeEventSection(const QByteArray& datagram);
    const CEventSlots& Events() const { return events_; }

    /// Starts the schedule reception for `program`; without one (nothing
    /// tuned) only the old reception stops and the list stays as it is.
    void StartSchedule(const CProgramInfo* program);
    void StopSchedule();
    /// Both receivers stop (a timer recording needs the card to itself).
    void StopAll();
    const CScheduleList& Schedule() const { return schedule_; }
    std::vector<const CEPGInfo*> ScheduleRecords() const;

  signals:
    /// A present or following event came in.
    void eventsChanged();
    /// The schedule grew and then held still: the list window reloads.
    void scheduleChanged();

  private:
    void StopEvents();
    void TakeScheduleSection(std::span<const std::uint8_t> datagram);
    int Offset() const { return hooks_.offsetHours ? hooks_.offsetHours() : 0; }
    void Wait(int ms) const;

    IDeviceSet& card_;
    Hooks hooks_;
    CEventSlots events_;
    CScheduleList schedule_;
    bool eventsStopping_ = false;
};
