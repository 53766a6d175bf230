#pragma once
// The network engine's unit of playback: one chunk of the file per datagram.
// PVA: one packet (its 8-byte header and payload). MPEG audio: one frame; at
// double speed two are read and the second is sent, at half speed the frame
// goes twice in one datagram. Raw samples: blocks of 1024 bytes, with the
// same rules for the speeds. Transport stream: up to seven whole packets,
// picked up at the next sync after a packet that has lost it; PVA and
// transport stream chunks are the same at every speed.
#include <cstdint>
#include <vector>

#include "recording/ByteSource.h"
#include "recording/StreamFileScan.h"

enum class PlaySpeed { Normal, Half, Double };

struct StreamChunk {
    std::vector<std::uint8_t> bytes;  ///< empty: end of the file, or no packet there
    std::uint64_t at = 0;             ///< where the chunk's first unit starts
    std::uint64_t next = 0;           ///< where the next chunk starts
};

StreamChunk ReadStreamChunk(StreamKind kind, ByteSource& file, std::uint64_t at, PlaySpeed speed);
