#include "recording/CTIMERFile.h"

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/CClassRegistry.h"
#include "channellist/Windows1252.h"
#include "recording/CountedFile.h"

void CTimerEntry::Load(CArchiveReader& in) {
    program.Load(in);
    start = ArchiveDateTime::Read(in);
    end = ArchiveDateTime::Read(in);
    status = in.ReadU32();
    fileName = Windows1252ToUtf8(in.ReadString());
    formatIndex = in.ReadI32();
    flags = in.ReadU32();
    in.ReadU32();
    in.ReadU32();
    reserved1 = reserved2 = 0;
}

void CTimerEntry::Store(CArchiveWriter& out) const {
    program.Store(out);
    start.Write(out);
    end.Write(out);
    out.WriteU32(status);
    // A character the code page lacks becomes '?' in the file, as for the playlist.
    out.WriteString(Utf8ToWindows1252Lossy(fileName));
    out.WriteI32(formatIndex);
    out.WriteU32(flags);
    out.WriteU32(0);
    out.WriteU32(0);
}

std::size_t CTimerEntry::MinStoredBytes() {
    static const std::size_t bytes = [] {
        std::vector<std::uint8_t> stored;
        CArchiveWriter out(stored);
        CTimerEntry().Store(out);
        return stored.size();
    }();
    return bytes;
}

void CTimerEntry::RegisterClass() { CClassRegistry::Register<CTimerEntry>("CTimerEntry"); }

QString CTimerEntry::ProgramName() const {
    return QString::fromStdString(Windows1252ToUtf8(program.Name));
}

TimerSettings CTimerEntry::Settings() const {
    return {Start(), End(), fileName, formatIndex, flags};
}

void CTimerEntry::Apply(const TimerSettings& settings) {
    start = LocalDateTime::FromLocal(settings.start);
    end = LocalDateTime::FromLocal(settings.end);
    fileName = settings.fileName;
    formatIndex = settings.formatIndex;
    flags = settings.flags;
}

std::uint32_t CTimerEntry::DayBit(int qtDayOfWeek) {
    // Saturday first: Saturday bit 2, Sunday bit 3, Monday bit 4 ... Friday bit 8.
    const int bit = qtDayOfWeek == 6 ? 2 : qtDayOfWeek == 7 ? 3 : qtDayOfWeek + 3;
    return qtDayOfWeek >= 1 && qtDayOfWeek <= 7 ? 1u << bit : 0;
}

int CTimerEntry::VcrFormatOfIndex(std::int32_t index) {
    switch (index) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 4;
        case 3:
            return 5;
        default:
            return 0;
    }
}

std::int32_t CTimerEntry::IndexOfVcrFormat(int vcrFormat) {
    switch (vcrFormat) {
        case 1:
            return 0;
        case 2:
            return 1;
        case 4:
            return 2;
        default:
            return 3;
    }
}

bool CTIMERFile::Load(std::span<const std::uint8_t> bytes) {
    return CountedFile::Load(bytes, kIdentifier, CTimerEntry::MinStoredBytes(), entries, valid_,
                             [](CTimerEntry& e, CArchiveReader& in) { e.Load(in); });
}

std::vector<std::uint8_t> CTIMERFile::Store() const {
    return CountedFile::Store(kIdentifier, entries,
                              [](const CTimerEntry& e, CArchiveWriter& out) { e.Store(out); });
}

std::vector<std::uint8_t> CTIMERFile::EmptyFile() { return CTIMERFile().Store(); }
