#include "guide/CEPGInfo.h"

#include <cmath>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/Windows1252.h"

namespace {

std::string ReadText(CArchiveReader& in) { return Windows1252ToUtf8(in.ReadString()); }

// A character the code page lacks becomes '?' in the stored form; the
// record in memory keeps the real text.
void WriteText(CArchiveWriter& out, const std::string& text) {
    out.WriteString(Utf8ToWindows1252Lossy(text));
}

}  // namespace

ArchiveDateTime CEPGInfo::DefaultStart() { return ArchiveDateTime::FromCivil({2000, 1, 1}); }

void CEPGInfo::Load(CArchiveReader& in) {
    Program.Load(in);
    ServiceName = ReadText(in);
    EventName = ReadText(in);
    Description = ReadText(in);
    ShortText = ReadText(in);
    ContentLow = in.ReadU8();
    ContentHigh = in.ReadU8();
    Start = ArchiveDateTime::Read(in);
    Duration = ArchiveDateTime::Read(in);
    ParentalRating = in.ReadU8();
    HeaderBit3 = in.ReadU32();
    HeaderLow3 = in.ReadU8();
}

void CEPGInfo::Store(CArchiveWriter& out) const {
    Program.Store(out);
    WriteText(out, ServiceName);
    WriteText(out, EventName);
    WriteText(out, Description);
    WriteText(out, ShortText);
    out.WriteU8(ContentLow);
    out.WriteU8(ContentHigh);
    Start.Write(out);
    Duration.Write(out);
    out.WriteU8(ParentalRating);
    out.WriteU32(HeaderBit3);
    out.WriteU8(HeaderLow3);
}

int CEPGInfo::DurationMinutes() const {
    // The small addend keeps a duration of whole minutes from falling just
    // below its minute through the rounding of the double.
    return int(std::trunc(Duration.days * 1440.0 + 0.000005787));
}
