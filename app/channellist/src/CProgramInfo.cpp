#include "channellist/CProgramInfo.h"

#include <algorithm>

#include "channellist/CArchive.h"

namespace {
// Smallest stored stream: empty descriptor block (2), type (2), PID (2).
constexpr std::size_t MinStreamBytes = 6;

// The fixed run from Frequency to StreamCount: Frequency, PolarisationOrQam,
// SymbolRate, ProgramType, the ten 16-bit numbers, StreamCount.
constexpr std::uint8_t RunFields[] = {4, 4, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 4};
constexpr std::size_t RunBytes = 40;
constexpr std::size_t StreamCountAt = 36;

static_assert(alignof(CProgramInfo) <= RecordArena::Alignment);

// Inline in the program's loader, so that the cursor stays in registers.
inline void LoadStreams(StreamList& streams, ArchiveCursor& in, std::int32_t count,
                        std::size_t countOffset) {
    streams.clear();
    if (count < 0) CArchive::FailAt(countOffset, "Negative Anzahl von Streams");
    // Grow while reading: a huge count in a short file fails at its end,
    // not in the allocator.
    streams.reserve(std::min<std::size_t>(static_cast<std::size_t>(count),
                                          in.Remaining() / MinStreamBytes));
    for (std::int32_t i = 0; i < count; ++i) streams.emplace_back().LoadFrom(in);
}
}  // namespace

void CProgramInfo::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        StoreTo(ar);
    else
        LoadFrom(ar);
}

std::size_t CProgramInfo::StoredSize() const {
    std::size_t size = CArchive::StringSize(Name.size()) + CArchive::StringSize(Provider.size()) +
                       4 + CArchive::StringSize(LnbName.size()) + RunBytes +
                       CArchive::BytesSize(ProgramData1.size()) +
                       CArchive::BytesSize(ProgramData2.size());
    for (const CStreaminfo& stream : Streams) size += stream.StoredSize();
    return size;
}

void CProgramInfo::StoreTo(CArchive& ar) const {
    // The whole record is sized first and written in one piece.
    std::uint8_t* p = ar.Extend(StoredSize());
    p = CArchive::PutString(p, Name);
    p = CArchive::PutString(p, Provider);
    p = CArchive::PutU32(p, static_cast<std::uint32_t>(FrontendType));
    p = CArchive::PutString(p, LnbName);
    for (std::int32_t v : {Frequency, PolarisationOrQam, SymbolRate})
        p = CArchive::PutU32(p, static_cast<std::uint32_t>(v));
    p = CArchive::PutU32(p, ProgramType);
    for (std::uint16_t v : {CiAccess, TransportStreamId, NetworkId, OriginalNetworkId, ServiceId,
                            PcrPid, PmtPid, VideoPid, AudioPid, TeletextPid})
        p = CArchive::PutU16(p, v);
    p = CArchive::PutU32(p, static_cast<std::uint32_t>(Streams.size()));
    for (const CStreaminfo& stream : Streams) p = stream.Put(p);
    p = CArchive::PutBytes(p, ProgramData1);
    CArchive::PutBytes(p, ProgramData2);
}

void CProgramInfo::LoadFrom(CArchive& ar) {
    ArchiveCursor in(ar);
    in.StringInto(Name);
    in.StringInto(Provider);
    FrontendType = static_cast<std::int32_t>(in.U32());
    in.StringInto(LnbName);
    const std::size_t runOffset = in.Offset();
    const std::uint8_t* p = in.Run(RunFields, RunBytes);
    Frequency = static_cast<std::int32_t>(CArchive::U32At(p));
    PolarisationOrQam = static_cast<std::int32_t>(CArchive::U32At(p + 4));
    SymbolRate = static_cast<std::int32_t>(CArchive::U32At(p + 8));
    ProgramType = CArchive::U32At(p + 12);
    CiAccess = CArchive::U16At(p + 16);
    TransportStreamId = CArchive::U16At(p + 18);
    NetworkId = CArchive::U16At(p + 20);
    OriginalNetworkId = CArchive::U16At(p + 22);
    ServiceId = CArchive::U16At(p + 24);
    PcrPid = CArchive::U16At(p + 26);
    PmtPid = CArchive::U16At(p + 28);
    VideoPid = CArchive::U16At(p + 30);
    AudioPid = CArchive::U16At(p + 32);
    TeletextPid = CArchive::U16At(p + 34);
    LoadStreams(Streams, in, static_cast<std::int32_t>(CArchive::U32At(p + StreamCountAt)),
                runOffset + StreamCountAt);
    in.BytesInto(ProgramData1);
    in.BytesInto(ProgramData2);
    in.Commit();
}

std::string CProgramInfo::KindText() const {
    switch (Kind()) {
        case ProgramKind::Data: return "Data";
        case ProgramKind::TV: return IsEncrypted() ? "TV Verschlüsselt" : "TV";
        case ProgramKind::Radio: return IsEncrypted() ? "Radio Verschlüsselt" : "Radio";
    }
    return {};
}
