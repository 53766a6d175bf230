#pragma once
// The play length of a recording in the PVA form (8-byte packet headers "AV",
// stream id, counter, 0x55, flags, big-endian payload length; a video packet,
// stream id 1, with flag 0x10 carries a 32-bit PTS behind its header): the
// distance of the last video PTS from the first, in milliseconds. 0 for a
// file without such packets (an MP2 or PES recording) or one that cannot be
// read.
//
// The first packet is found by walking the packets from the start, the last
// by looking backwards from the end at every byte: the packets have any
// length, so a header need not lie a multiple of 8 bytes before the end.
#include <cstdint>
#include <span>
#include <string>

std::uint32_t PvaPlayLengthMs(const std::string& path);
/// The same of a recording's bytes in memory.
std::uint32_t PvaPlayLengthMs(std::span<const std::uint8_t> bytes);
