#pragma once
// What the network engine needs to know of a file before it plays it, and
// where it picks the stream up after a seek: the MPEG audio frame header
// (ISO/IEC 11172-3 and 13818-3, layer II bit rates), the length of a file in
// milliseconds from its first frame or its PVA time stamps, and the
// re-synchronisation on the next whole packet or frame.
#include <cstdint>
#include <optional>

#include "recording/ByteSource.h"

enum class StreamKind {
    PvaPackets,       ///< 8-byte "AV" headers with a big-endian payload length
    MpegAudio,        ///< MPEG audio frames (MP2)
    Pcm,              ///< raw samples, played in blocks of 1024 bytes
    TransportStream,  ///< 188-byte MPEG transport stream packets, sync byte 0x47
};

struct MpegAudioFrame {
    std::uint32_t bitrateKbit = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t length = 0;  ///< bytes, header and padding included
    /// 1152 samples at the sampling rate.
    double DurationMs() const { return 1152000.0 / double(sampleRate); }
};

/// A frame header at `h` (4 bytes): sync 0xFFF, bit 3 of byte 1 chooses
/// MPEG-1 or the lower sampling rates of MPEG-2. Nothing for a free or bad
/// bit rate, a reserved sampling rate or no sync.
std::optional<MpegAudioFrame> ParseMpegAudioFrame(const std::uint8_t* h);

struct StreamFileInfo {
    std::uint64_t fileLength = 0;
    std::uint32_t durationMs = 0;  ///< 0 unknown
    std::uint32_t sampleRate = 0;  ///< of the first MPEG audio frame, else 0
};

/// Nothing when the file cannot be played: MPEG audio without a frame at
/// offset 0, PVA without a video packet that carries a PTS. PVA files are
/// read in their first packets and, beyond 1 MiB, in their last MiB only;
/// raw samples and transport streams have no known length.
std::optional<StreamFileInfo> ScanStreamFile(StreamKind kind, ByteSource& file);

/// The offset of the next whole packet or frame at or after `from`: PVA
/// within 16384 bytes ("AV", a payload below 8192 bytes, another "AV" behind
/// it), MPEG audio within 8192 bytes (a frame whose length leads to the next
/// sync), a transport stream within 8192 bytes (a sync byte with another 188
/// bytes on, or a last whole packet), raw samples one block of 1024 bytes on,
/// while that stays inside the file.
std::optional<std::uint64_t> Resynchronise(StreamKind kind, ByteSource& file, std::uint64_t from);
