#include "recording/windows/TimerCells.h"

#include <array>

#include "recording/TimerTexts.h"
#include "recording/windows/PlayListCells.h"

namespace T = TimerTexts;

namespace TimerCells {

QString Format(std::int32_t formatIndex) {
    static constexpr std::array<const char*, 4> kNames = {"AudioPES", "AudioMp2", "VideoPES",
                                                          "AV_PES"};
    if (formatIndex < 0 || formatIndex >= std::int32_t(kNames.size())) return T::FormatUnknown;
    return QString::fromLatin1(kNames[std::size_t(formatIndex)]);
}

QString Status(std::uint32_t status) {
    QString text;
    if (status & CTimerEntry::Armed) text = T::StatusArmed;
    if (status & CTimerEntry::Recording) text = T::StatusRecording;
    if (status & CTimerEntry::Finished) text = T::StatusFinished;
    return text;
}

QString Cell(const CTimerEntry& entry, int index, int column) {
    switch (column) {
        case ColNr:
            return QString::number(index + 1);
        case ColProgram:
            return entry.ProgramName();
        case ColStart:
            return PlayListCells::LastPlayed(entry.start);  // the German long form
        case ColEnd:
            return PlayListCells::LastPlayed(entry.end);
        case ColFormat:
            return Format(entry.formatIndex);
        case ColFileName:
            return QString::fromStdString(entry.fileName);
        case ColStatus:
            return Status(entry.status);
        default:
            return {};
    }
}

}  // namespace TimerCells
