#include "recording/StreamChunks.h"

#include <algorithm>

#include "recording/PvaHeader.h"
#include "recording/TsPacketHeader.h"

namespace {

constexpr std::size_t kPvaHeader = pva::kHeader;
constexpr std::size_t kPcmBlock = 1024;

// One unit at `at`: a PVA packet, an MPEG audio frame or a block of samples.
bool ReadTsPackets(ByteSource& file, std::uint64_t at, std::vector<std::uint8_t>& out);

bool ReadUnit(StreamKind kind, ByteSource& file, std::uint64_t at, std::vector<std::uint8_t>& out) {
    switch (kind) {
        case StreamKind::PvaPackets: {
            std::uint8_t h[kPvaHeader];
            if (!file.ReadAt(at, h, kPvaHeader) || !pva::IsPacket(h)) return false;
            out.assign(h, h + kPvaHeader);
            out.resize(kPvaHeader + pva::PayloadLength(h));
            return file.ReadAt(at + kPvaHeader, out.data() + kPvaHeader, out.size() - kPvaHeader);
        }
        case StreamKind::MpegAudio: {
            std::uint8_t h[4];
            if (!file.ReadAt(at, h, 4)) return false;
            const auto frame = ParseMpegAudioFrame(h);
            if (!frame) return false;
            out.resize(frame->length);
            return file.ReadAt(at, out.data(), out.size());
        }
        case StreamKind::Pcm:
            out.resize(kPcmBlock);
            return file.ReadAt(at, out.data(), out.size());
        case StreamKind::TransportStream:
            return ReadTsPackets(file, at, out);
    }
    return false;
}

// The whole packets from `at` on while their sync bytes hold, up to a chunk's worth.
bool ReadTsPackets(ByteSource& file, std::uint64_t at, std::vector<std::uint8_t>& out) {
    out.clear();
    std::uint8_t packet[ts::kPacket];
    while (out.size() < ts::kPacketsPerChunk * ts::kPacket &&
           file.ReadAt(at + out.size(), packet, ts::kPacket) && packet[0] == ts::kSync)
        out.insert(out.end(), packet, packet + ts::kPacket);
    return !out.empty();
}

}  // namespace

StreamChunk ReadStreamChunk(StreamKind kind, ByteSource& file, std::uint64_t at, PlaySpeed speed) {
    StreamChunk chunk;
    if (kind == StreamKind::TransportStream) {
        // A stream that lost its sync picks it up again at the next packet.
        std::uint8_t sync = 0;
        if (!file.ReadAt(at, &sync, 1)) return {{}, at, at};
        if (sync != ts::kSync) {
            const auto resumed = Resynchronise(kind, file, at);
            if (!resumed) return {{}, at, at};
            at = *resumed;
        }
    }
    if (!ReadUnit(kind, file, at, chunk.bytes)) return {{}, at, at};
    chunk.at = at;
    chunk.next = at + chunk.bytes.size();
    // Packets of a stream with time stamps are never dropped or repeated.
    if (kind == StreamKind::PvaPackets || kind == StreamKind::TransportStream ||
        speed == PlaySpeed::Normal)
        return chunk;
    if (speed == PlaySpeed::Double) {
        // The second unit is the one sent; without one the file has ended.
        std::vector<std::uint8_t> second;
        if (!ReadUnit(kind, file, chunk.next, second)) return {{}, chunk.next, chunk.next};
        chunk.next += second.size();
        chunk.bytes = std::move(second);
        return chunk;
    }
    const std::size_t n = chunk.bytes.size();
    chunk.bytes.resize(2 * n);
    std::copy_n(chunk.bytes.begin(), n, chunk.bytes.begin() + std::ptrdiff_t(n));
    return chunk;
}
