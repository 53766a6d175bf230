#include "PsiTables.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "kestrel/CDescriptorLoop.h"
#include "mpegts/BitReader.h"
#include "mpegts/DvbText.h"

namespace kestrel::psi {

namespace {

constexpr std::uint8_t kStreamIdentifierTag = 0x52;
constexpr std::uint8_t kTeletextTag = 0x56;
constexpr std::uint8_t kServiceTag = 0x48;

/// The section as far as its section_length and the given bytes both reach.
Bytes Announced(Bytes section) {
    if (section.size() < 3) return {};
    const std::size_t length = 3u + ((section[1] & 0x0Fu) << 8 | section[2]);
    return section.first(std::min(length, section.size()));
}

int SectionLength(Bytes section) {
    return section.size() < 3 ? 0 : ((section[1] & 0x0F) << 8 | section[2]);
}

/// bytes [from, from + n) of s, cut to what s holds.
Bytes Slice(Bytes s, std::size_t from, std::ptrdiff_t n) {
    if (n <= 0 || from >= s.size()) return {};
    return s.subspan(from, std::min(static_cast<std::size_t>(n), s.size() - from));
}

std::string Sub(const std::string& key, char letter, int index) {
    return key + "\\" + IndexKey(letter, index);
}

/// Writes "Tag"/"Data" per descriptor under key\D%04d and calls seen(tag,
/// data) for each; returns the count.
template <typename Seen>
int WriteDescriptors(Bytes loop, const std::string& key, IKeyWriter& out, Seen seen) {
    CDescriptorLoop descriptors(loop);
    std::uint8_t tag = 0, length = 0;
    const std::uint8_t* data = nullptr;
    int count = 0;
    while (descriptors.GetNextDescriptor(tag, length, data)) {
        const Bytes body(data, length);
        const std::string d = Sub(key, 'D', count++);
        out.Dword(d, "Tag", tag);
        out.Binary(d, "Data", body);
        seen(tag, body);
    }
    return count;
}

void AddProgram(ProgramSlots& slots, std::uint16_t number, std::uint16_t pid, std::uint16_t tsid,
                IKeyWriter& out) {
    const int n = static_cast<int>(slots.programs.size());
    if (n >= kMaxPrograms) return;
    slots.programs.push_back({number, pid, MapState::Waiting});
    const std::string p = IndexKey('P', n);
    char text[32];
    out.Dword(p, "ServiceID", number);
    out.Dword(p, "PID_PMT", pid);
    std::snprintf(text, sizeof text, "Service 0x%04X", number);
    out.String(p, "Name", text);
    std::snprintf(text, sizeof text, "Provider 0x%04X", tsid);
    out.String(p, "Provider", text);
}

struct StreamPids {
    std::uint16_t video = 0, audio = 0, teletext = 0;
};

void DecodeStream(mpegts::BitReader& r, const std::string& key, StreamPids& pids, IKeyWriter& out) {
    const std::uint8_t type = r.U8();
    r.Skip(3);
    const auto pid = static_cast<std::uint16_t>(r.Bits(13));
    r.Skip(4);
    const std::uint32_t infoLength = r.Bits(12);
    const Bytes info = r.Bytes(std::min<std::size_t>(infoLength, r.BytesLeft()));
    out.Dword(key, "Type", type);
    out.Dword(key, "PID", pid);
    if (type == 2 && pids.video == 0) pids.video = pid;
    if ((type == 3 || type == 4) && pids.audio == 0) pids.audio = pid;
    int streamId = -1;
    const int count = WriteDescriptors(info, key, out, [&](std::uint8_t tag, Bytes body) {
        if (tag == kTeletextTag && pids.teletext == 0) pids.teletext = pid;
        if (tag == kStreamIdentifierTag && !body.empty()) streamId = body[0];
    });
    out.Dword(key, "NumberOfDescriptors", static_cast<std::uint32_t>(count));
    out.Dword(key, "StreamID", static_cast<std::uint32_t>(streamId));
}

void DecodeStreamLoop(Bytes loop, const std::string& program, IKeyWriter& out) {
    mpegts::BitReader r(loop);
    StreamPids pids;
    int count = 0;
    while (r.BytesLeft() >= 5) DecodeStream(r, Sub(program, 'S', count++), pids, out);
    out.Dword(program, "NumberOfStreams", static_cast<std::uint32_t>(count));
    out.Dword(program, "PID_Video", pids.video);
    out.Dword(program, "PID_Audio", pids.audio);
    out.Dword(program, "PID_TeleText", pids.teletext);
}

void WriteServiceDescriptor(Bytes body, const std::string& program, IKeyWriter& out) {
    mpegts::BitReader r(body);
    const std::uint8_t type = r.U8();
    const Bytes provider = r.Bytes(std::min<std::size_t>(r.U8(), r.BytesLeft()));
    const Bytes name = r.Bytes(std::min<std::size_t>(r.U8(), r.BytesLeft()));
    out.String(program, "Name", ServiceName(name, "(No Name)"));
    out.String(program, "Provider", ServiceName(provider, "(Not Defined)"));
    out.Dword(program, "ServiceType", type);
}

void DecodeServiceEntry(mpegts::BitReader& r, const ProgramSlots& slots, IKeyWriter& out) {
    const std::uint16_t serviceId = r.U16();
    r.Skip(6);
    const std::uint32_t schedule = r.Bits(1), presentFollowing = r.Bits(1);
    const std::uint32_t running = r.Bits(3), freeCa = r.Bits(1);
    const std::uint32_t loopLength = r.Bits(12);
    const Bytes loop = r.Bytes(std::min<std::size_t>(loopLength, r.BytesLeft()));
    const int index = slots.Find(serviceId);
    if (index < 0) return;
    const std::string p = IndexKey('P', index);
    out.Dword(p, "EIT_Schedule", schedule);
    out.Dword(p, "EIT_PresentFollowing", presentFollowing);
    out.Dword(p, "Scrambled", freeCa);
    out.Dword(p, "RunningStatus", running);
    const std::string key = p + "\\Descriptors_SDT";
    const int count = WriteDescriptors(loop, key, out, [&](std::uint8_t tag, Bytes body) {
        if (tag == kServiceTag) WriteServiceDescriptor(body, p, out);
    });
    out.Dword(key, "NumberOfDescriptors", static_cast<std::uint32_t>(count));
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string IndexKey(char letter, int index) {
    char key[16];
    std::snprintf(key, sizeof key, "%c%04d", letter, index);
    return key;
}

int ProgramSlots::Find(std::uint16_t number) const {
    for (std::size_t i = 0; i < programs.size(); ++i)
        if (programs[i].number == number) return static_cast<int>(i);
    return -1;
}

bool ProgramSlots::SharePmtPid() const {
    std::set<std::uint16_t> pids;
    for (const auto& p : programs)
        if (!pids.insert(p.pmtPid).second) return true;
    return false;
}

int ProgramSlots::MapFilterCount(int filters) const { return SharePmtPid() ? 1 : filters; }

int ProgramSlots::TakeNext() {
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (programs[i].state != MapState::Waiting) continue;
        programs[i].state = MapState::Requested;
        return static_cast<int>(i);
    }
    return -1;
}

std::uint16_t DecodeAssociation(std::span<const Bytes> sections, ProgramSlots& slots,
                                IKeyWriter& out) {
    slots.programs.clear();
    std::uint16_t tsid = 0;
    for (const Bytes raw : sections) {
        const Bytes section = Announced(raw);
        mpegts::BitReader r(section);
        r.SkipBytes(3);
        tsid = r.U16();
        if (!r.Ok()) continue;
        out.Dword("", "TransportStreamID", tsid);
        const int entries = std::max(0, (SectionLength(section) - 9) / 4);
        r.SkipBytes(3);
        for (int k = 0; k < entries; ++k) {
            const std::uint16_t number = r.U16();
            r.Skip(3);
            const auto pid = static_cast<std::uint16_t>(r.Bits(13));
            if (!r.Ok()) break;
            if (number != 0) AddProgram(slots, number, pid, tsid, out);
        }
    }
    out.Dword("", "NumberOfPrograms", static_cast<std::uint32_t>(slots.programs.size()));
    return tsid;
}

int DecodeProgramMap(Bytes raw, ProgramSlots& slots, IKeyWriter& out) {
    const Bytes section = Announced(raw);
    mpegts::BitReader r(section);
    r.SkipBytes(3);
    const std::uint16_t number = r.U16();
    r.SkipBytes(3);
    r.Skip(3);
    const std::uint32_t pcrPid = r.Bits(13);
    r.Skip(4);
    const std::uint32_t infoLength = r.Bits(12);
    const int index = r.Ok() ? slots.Find(number) : -1;
    if (index < 0) return -1;
    slots.programs[static_cast<std::size_t>(index)].state = MapState::Done;
    const std::string p = IndexKey('P', index);
    out.Dword(p, "PID_PCR", pcrPid);
    const std::string key = p + "\\Descriptors_PMT";
    const int count = infoLength < 3 ? 0
                                     : WriteDescriptors(Slice(section, 12, infoLength), key, out,
                                                        [](std::uint8_t, Bytes) {});
    out.Dword(key, "NumberOfDescriptors", static_cast<std::uint32_t>(count));
    const std::ptrdiff_t loopLength =
        SectionLength(section) - static_cast<std::ptrdiff_t>(infoLength) - 13;
    if (loopLength > 2) DecodeStreamLoop(Slice(section, 12 + infoLength, loopLength), p, out);
    return index;
}

void DecodeServiceTable(std::span<const Bytes> sections, const ProgramSlots& slots,
                        IKeyWriter& out) {
    bool networkWritten = false;
    for (const Bytes raw : sections) {
        const Bytes section = Announced(raw);
        if (!networkWritten && section.size() >= 10) {
            out.Dword("", "OriginalNetworkID",
                      static_cast<std::uint32_t>(section[8] << 8 | section[9]));
            networkWritten = true;
        }
        mpegts::BitReader r(Slice(section, 11, SectionLength(section) - 12));
        while (r.BytesLeft() >= 5) DecodeServiceEntry(r, slots, out);
    }
}

std::string ServiceName(Bytes field, const char* empty) {
    const std::string text = mpegts::DecodeDvbText(field);
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // U+0080..U+009F are C1 control characters, 0xC2 0x80..0x9F in UTF-8.
        if (c == 0xC2 && i + 1 < text.size() &&
            (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80) {
            ++i;
            continue;
        }
        if (!IsControl(c)) kept.push_back(text[i]);
    }
    const auto first = kept.find_first_not_of(' ');
    if (first == std::string::npos) return empty;
    return kept.substr(first, kept.find_last_not_of(' ') - first + 1);
}

}  // namespace kestrel::psi
