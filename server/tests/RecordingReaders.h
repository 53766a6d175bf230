// Readers of the card's recordings written for the tests alone, from the
// formats' descriptions (not from the card's parsers): they walk a file and
// say what they found and the first fault.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace testutil {

using Bytes = std::vector<uint8_t>;

struct PvaFound {
    std::string fault;  // empty when every whole packet is right
    int video = 0, audio = 0, stamped = 0;
    std::size_t tail = 0;  // bytes of a last packet cut short
};

// "AV", stream 1/2, a counter per stream counting on by one, 0x55, a PTS
// (flag 0x10) rising from picture to picture, audio payloads that start PES
// packets of an audio stream or continue one.
inline PvaFound ReadPva(const Bytes& b) {
    PvaFound f;
    std::map<int, int> counter;
    std::optional<uint32_t> lastPts;
    std::size_t at = 0;
    std::size_t audioLeft = 0;  // of the PES packet under way
    while (at + 8 <= b.size()) {
        if (b[at] != 'A' || b[at + 1] != 'V' || b[at + 4] != 0x55) {
            f.fault = "no PVA header at " + std::to_string(at);
            return f;
        }
        const int stream = b[at + 2];
        if (stream != 1 && stream != 2) {
            f.fault = "stream id " + std::to_string(stream);
            return f;
        }
        if (counter.count(stream) && b[at + 3] != ((counter[stream] + 1) & 0xFF)) {
            f.fault =
                "counter of stream " + std::to_string(stream) + " jumps at " + std::to_string(at);
            return f;
        }
        counter[stream] = b[at + 3];
        const std::size_t length = std::size_t(b[at + 6]) << 8 | b[at + 7];
        if (at + 8 + length > b.size()) break;
        const bool stamp = (b[at + 5] & 0x10) != 0;
        const uint8_t* p = &b[at + 8];
        if (stream == 1) {
            ++f.video;
            if (stamp) {
                const uint32_t pts = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
                if (lastPts && pts <= *lastPts) {
                    f.fault = "video PTS not rising at " + std::to_string(at);
                    return f;
                }
                lastPts = pts;
                ++f.stamped;
            }
        } else {
            ++f.audio;
            if (audioLeft == 0) {
                if (length < 6 || p[0] != 0 || p[1] != 0 || p[2] != 1 || (p[3] & 0xE0) != 0xC0) {
                    f.fault = "audio payload is no PES start at " + std::to_string(at);
                    return f;
                }
                audioLeft = 6 + (std::size_t(p[4]) << 8 | p[5]);
            }
            audioLeft -= std::min(audioLeft, length);
        }
        at += 8 + length;
    }
    f.tail = b.size() - at;
    return f;
}

struct PesFound {
    std::string fault;
    int packets = 0;
    bool sequenceHeader = false;  // an MPEG video sequence header was seen
};

// PES packets one after the other, all of the stream ids in [low, high];
// video packets may be of length 0 and end where the next starts.
inline PesFound ReadPes(const Bytes& b, uint8_t low, uint8_t high) {
    PesFound f;
    std::size_t at = 0;
    const auto start = [&](std::size_t i) {
        return i + 4 <= b.size() && b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 &&
               b[i + 3] >= low && b[i + 3] <= high;
    };
    while (at + 6 <= b.size()) {
        if (!start(at)) {
            f.fault = "no PES start at " + std::to_string(at);
            return f;
        }
        const std::size_t length = std::size_t(b[at + 4]) << 8 | b[at + 5];
        std::size_t end = at + 6 + length;
        if (length == 0) {
            end = at + 6;
            while (end < b.size() && !start(end)) ++end;
        }
        if (end > b.size()) break;
        for (std::size_t i = at; i + 3 < end; ++i)
            f.sequenceHeader |= b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == 0xB3;
        ++f.packets;
        at = end;
    }
    return f;
}

// MPEG-1 layer II frames back to back (the demo's sound).
inline int CountLayer2Frames(const Bytes& b, std::string& fault) {
    static const int kKbit[] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
    static const int kRate[] = {44100, 48000, 32000};
    int frames = 0;
    std::size_t at = 0;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF || (b[at + 1] & 0xFE) != 0xFC || (b[at + 2] >> 4) == 0 ||
            (b[at + 2] >> 4) == 15 || (b[at + 2] >> 2 & 3) == 3) {
            fault = "no layer II frame at " + std::to_string(at);
            return frames;
        }
        at += std::size_t(144000 * kKbit[b[at + 2] >> 4] / kRate[b[at + 2] >> 2 & 3] +
                          (b[at + 2] >> 1 & 1));
        if (at <= b.size()) ++frames;
    }
    return frames;
}

// The PIDs of a transport stream's packets; fault when a packet lacks its sync.
inline std::set<int> TsPids(const Bytes& b, std::string& fault) {
    std::set<int> pids;
    for (std::size_t at = 0; at + 188 <= b.size(); at += 188) {
        if (b[at] != 0x47) {
            fault = "no sync at " + std::to_string(at);
            break;
        }
        pids.insert((b[at + 1] & 0x1F) << 8 | b[at + 2]);
    }
    return pids;
}

}  // namespace testutil
