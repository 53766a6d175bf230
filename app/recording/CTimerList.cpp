#include "recording/CTimerList.h"

#include <algorithm>

#include "recording/TimerOverlap.h"
#include "recording/TimerStore.h"

namespace {

QDateTime WholeSeconds(const QDateTime& t) {
    const QTime time = t.time();
    return QDateTime(t.date(), QTime(time.hour(), time.minute(), time.second()));
}

}  // namespace

CTimerList::CTimerList(std::string path, IRecordingMessages& messages)
    : path_(std::move(path)), messages_(messages) {}

void CTimerList::LoadAtStartUp() { LoadTimersAtStartUp(path_, file_, messages_); }

bool CTimerList::Save() { return SaveTimers(path_, file_, messages_); }

CTimerEntry CTimerList::NewEntry(const CProgramInfo& program, const QDateTime& now) {
    CTimerEntry e;
    e.program = program;
    e.start = e.end = LocalDateTime::FromLocal(WholeSeconds(now));
    return e;
}

CTimerEntry CTimerList::GuideEntry(const CProgramInfo& program, const QString& eventName,
                                   const QDateTime& start, int durationSec) {
    CTimerEntry e;
    e.program = program;
    e.start = LocalDateTime::FromLocal(start);
    e.end = LocalDateTime::FromLocal(start.addSecs(durationSec));
    e.fileName = (SafeFileName(eventName) + QStringLiteral(".pva")).toStdString();
    return e;
}

QString CTimerList::SafeFileName(const QString& name) {
    QString safe = name;
    for (QChar& c : safe)
        if (c == QLatin1Char('/') || c.category() == QChar::Other_Control) c = QLatin1Char('_');
    return safe;
}

void CTimerList::Add(const CProgramInfo& program, const TimerSettings& settings) {
    CTimerEntry e;
    e.program = program;
    e.Apply(settings);
    e.status = CTimerEntry::Armed;
    file_.entries.push_back(std::move(e));
    Save();
}

void CTimerList::AddQuickRecording(const CProgramInfo& program, const QString& path, int vcrFormat,
                                   const QDateTime& now) {
    const QDateTime start = WholeSeconds(now);
    Add(program, {start, start.addYears(1), path.toStdString(),
                  CTimerEntry::IndexOfVcrFormat(vcrFormat), 0});
}

void CTimerList::Edit(int index, const TimerSettings& settings) {
    if (index < 0 || std::size_t(index) >= file_.entries.size()) return;
    CTimerEntry& e = file_.entries[std::size_t(index)];
    e.Apply(settings);
    if (e.status != CTimerEntry::Recording) e.status = CTimerEntry::Armed;
}

void CTimerList::Delete(std::vector<int> indexes) {
    std::sort(indexes.rbegin(), indexes.rend());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    auto& entries = file_.entries;
    for (int index : indexes)
        if (index >= 0 && std::size_t(index) < entries.size())
            entries.erase(entries.begin() + index);
}

const CTimerEntry* CTimerList::FindConflict(const CTimerEntry& candidate, int ownIndex) const {
    for (std::size_t i = 0; i < file_.entries.size(); ++i)
        if (int(i) != ownIndex && TimerOverlap::Conflict(candidate, file_.entries[i]))
            return &file_.entries[i];
    return nullptr;
}
