#include "channellist/CProgramInfo.h"

#include <algorithm>

#include "channellist/CArchive.h"

namespace {
// Smallest stored stream: empty descriptor block (2), type (2), PID (2).
constexpr std::size_t MinStreamBytes = 6;
}  // namespace

void CProgramInfo::Serialize(CArchive& ar) {
    ar.Transfer(Name);
    ar.Transfer(Provider);
    ar.Transfer(FrontendType);
    ar.Transfer(LnbName);
    ar.Transfer(Frequency);
    ar.Transfer(PolarisationOrQam);
    ar.Transfer(SymbolRate);
    ar.Transfer(ProgramType);
    for (std::uint16_t* field : {&CiAccess, &TransportStreamId, &NetworkId, &OriginalNetworkId,
                                 &ServiceId, &PcrPid, &PmtPid, &VideoPid, &AudioPid, &TeletextPid})
        ar.Transfer(*field);
    SerializeStreams(ar);
    ar.Transfer(ProgramData1);
    ar.Transfer(ProgramData2);
}

void CProgramInfo::SerializeStreams(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteI32(static_cast<std::int32_t>(Streams.size()));
        for (CStreaminfo& stream : Streams) stream.Serialize(ar);
        return;
    }
    const std::size_t countOffset = ar.Offset();
    const std::int32_t count = ar.ReadI32();
    Streams.clear();
    if (count < 0) CArchive::FailAt(countOffset, "Negative Anzahl von Streams");
    // Grow while reading: a huge count in a short file fails at its end,
    // not in the allocator.
    Streams.reserve(std::min<std::size_t>(static_cast<std::size_t>(count),
                                          ar.Remaining() / MinStreamBytes));
    for (std::int32_t i = 0; i < count; ++i) {
        Streams.emplace_back();
        Streams.back().Serialize(ar);
    }
}

std::string CProgramInfo::KindText() const {
    switch (Kind()) {
        case ProgramKind::Data: return "Data";
        case ProgramKind::TV: return IsEncrypted() ? "TV Verschlüsselt" : "TV";
        case ProgramKind::Radio: return IsEncrypted() ? "Radio Verschlüsselt" : "Radio";
    }
    return {};
}
