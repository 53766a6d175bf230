#include "scan/ScanPrograms.h"

#include "channellist/Windows1252.h"

namespace ScanPrograms {
namespace {

constexpr std::uint8_t kCaDescriptor = 0x09;

// DVB service types (ETSI EN 300 468, table 87) by kind.
bool IsTvService(std::uint32_t t) {
    return t == 0x01 || t == 0x04 || t == 0x05 || t == 0x11 || t == 0x16 || t == 0x17 ||
           t == 0x18 || t == 0x19 || t == 0x1A || t == 0x1B || t == 0x1C || t == 0x1D ||
           t == 0x1E || t == 0x1F || t == 0x20;
}
bool IsRadioService(std::uint32_t t) { return t == 0x02 || t == 0x07 || t == 0x0A; }

// MPEG-1/2 video, MPEG-4 part 2, AVC, HEVC; MPEG-1/2 audio, AAC, AC-3 (ATSC).
bool IsVideoStream(std::uint16_t type) {
    return type == 0x01 || type == 0x02 || type == 0x10 || type == 0x1B || type == 0x24;
}
bool IsAudioStream(std::uint16_t type) {
    return type == 0x03 || type == 0x04 || type == 0x0F || type == 0x11 || type == 0x81;
}

// Without a service type from the SDT: TV with a video stream, radio with
// audio alone, data otherwise.
std::uint32_t KindFromStreams(const kestrel::PsiProgram& p) {
    bool audio = false;
    for (const auto& s : p.streams) {
        if (IsVideoStream(s.type)) return TvType;
        audio |= IsAudioStream(s.type);
    }
    return audio ? RadioType : DataType;
}

bool HasCaDescriptor(const kestrel::PsiProgram& p) {
    for (const auto& d : p.pmtDescriptors)
        if (d.tag == kCaDescriptor) return true;
    for (const auto& s : p.streams)
        for (const auto& d : s.descriptors)
            if (d.tag == kCaDescriptor) return true;
    return false;
}

ByteBlock DescriptorBytes(const std::vector<kestrel::PsiDescriptor>& descriptors) {
    std::vector<std::uint8_t> bytes;
    for (const auto& d : descriptors) {
        bytes.push_back(d.tag);
        bytes.push_back(static_cast<std::uint8_t>(d.data.size()));
        bytes.insert(bytes.end(), d.data.begin(), d.data.end());
    }
    return ByteBlock(bytes.begin(), bytes.end());
}

}  // namespace

std::uint32_t ProgramTypeOf(const kestrel::PsiProgram& p) {
    std::uint32_t kind = KindFromStreams(p);
    if (p.inSdt && IsTvService(p.serviceType)) kind = TvType;
    if (p.inSdt && IsRadioService(p.serviceType)) kind = RadioType;
    if (p.inSdt && p.serviceType == 0x0C) kind = DataType;
    // Without an SDT entry the free_CA_mode is unknown: a CA descriptor in the
    // program map tells instead.
    const bool encrypted = p.inSdt ? p.scrambled != 0 : HasCaDescriptor(p);
    return kind | (encrypted ? CProgramInfo::EncryptedBit : 0);
}

CProgramInfo Build(const kestrel::PsiProgram& p, const kestrel::PsiTree& tree,
                   const Origin& origin) {
    CProgramInfo info;
    info.Name = Utf8ToWindows1252Lossy(p.name);
    info.Provider = Utf8ToWindows1252Lossy(p.provider);
    info.FrontendType = origin.transponder.IsCable() ? CableFrontend : SatelliteFrontend;
    info.LnbName = origin.lnbName;
    info.Frequency = static_cast<std::int32_t>(origin.transponder.frequency);
    info.PolarisationOrQam = origin.transponder.polarisationOrQam;
    info.SymbolRate = static_cast<std::int32_t>(origin.transponder.symbolRate);
    info.ProgramType = ProgramTypeOf(p);
    info.TransportStreamId = tree.transportStreamId;
    info.NetworkId = origin.networkId.value_or(0);
    info.OriginalNetworkId = tree.originalNetworkId.value_or(0);
    info.ServiceId = p.serviceId;
    info.PcrPid = p.pcrPid;
    info.PmtPid = p.pmtPid;
    info.VideoPid = p.videoPid;
    info.AudioPid = p.audioPid;
    info.TeletextPid = p.teletextPid;
    for (const auto& s : p.streams) {
        CStreaminfo& stream = info.Streams.emplace_back();
        stream.Descriptors = DescriptorBytes(s.descriptors);
        stream.StreamType = s.type;
        stream.Pid = s.pid;
    }
    return info;
}

std::vector<CProgramInfo> BuildAll(const kestrel::PsiTree& tree, const Origin& origin) {
    std::vector<CProgramInfo> out;
    for (const auto& p : tree.programs)
        if (p.pmtRead) out.push_back(Build(p, tree, origin));
    return out;
}

}  // namespace ScanPrograms
