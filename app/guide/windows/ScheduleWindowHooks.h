#pragma once
// What the guide's windows get from the program: the records to show and the
// actions that belong to other parts (the receiver's schedule reception, the
// timer dialog). The shell fills it in.
#include <functional>
#include <vector>

class CEPGInfo;

struct ScheduleWindowHooks {
    /// The receiver's records in list order, fetched on open and on every reload.
    std::function<std::vector<const CEPGInfo*>()> records;
    /// Opening the schedule list starts schedule reception.
    std::function<void()> startReception;
    /// Closing it stops it.
    std::function<void()> stopReception;
    /// Opens the timer dialog in guide mode; true when an entry was added.
    std::function<bool(const CEPGInfo&)> addToTimerList;
};
