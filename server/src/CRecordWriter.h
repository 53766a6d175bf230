// Makes a recording of one program from the transport packets the card
// receives: the packets of the decoder's video and audio PIDs, put into the
// chosen form and handed out one unit at a time (a PVA packet, a PES packet,
// an MPEG audio frame, or up to seven transport packets), so that each unit
// can be written at once or sent as one datagram.
//
// - PVA: video payloads per picture with the picture's PTS (CPvaWriter),
//   the audio PES packets as they are;
// - PES: the PID's PES packets;
// - MP2: the audio frames of the PES payloads;
// - transport stream: a PAT and a PMT of the program (its own numbers and
//   PIDs, the video and the sound streams of its PMT) before the first packet
//   and every 100 ms, and the packets of the two PIDs (and of the PCR PID)
//   unchanged. It starts once the program's PMT has been seen.
//
// The time stamps of PVA and PES recordings run on continuously where the
// received stream jumps (a transponder file played in a loop), so that
// every recording's stamps rise as a broadcast's would.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "CMediaTimeline.h"
#include "CPesAssembler.h"
#include "CPlaybackParser.h"
#include "CPvaWriter.h"
#include "ProgramTables.h"
#include "RecordFormat.h"
#include "mpegts/SectionAssembler.h"

namespace nvdvbsrv {

class CRecordWriter {
  public:
    using Output = std::function<void(std::span<const uint8_t>)>;
    static constexpr std::size_t kPacketsPerUnit = 7;
    static constexpr auto kTablePeriod = std::chrono::milliseconds(100);

    CRecordWriter(RecordFormat format, uint16_t videoPid, uint16_t audioPid, Output output);

    // Every received packet (of any PID).
    void Packet(std::span<const uint8_t> packet);
    // The stream jumped: packets under way are dropped.
    void Jump();
    // The end: transport packets still waiting for a whole unit go out.
    void Finish();

  private:
    void Video(PesUnit&& unit);
    void Audio(PesUnit&& unit);
    // The stamps of a PES packet moved onto the recording's time line.
    std::optional<uint64_t> Restamp(std::vector<uint8_t>& pes, std::optional<uint64_t> pts);
    void WatchTables(std::span<const uint8_t> packet, uint16_t pid);
    void TransportPacket(std::span<const uint8_t> packet, uint16_t pid);
    void Tables();
    void Group(std::span<const uint8_t> packets);

    RecordFormat format_;
    uint16_t videoPid_, audioPid_;
    Output output_;
    CPesAssembler videoPes_, audioPes_;
    CPvaWriter pva_;
    CPlaybackParser frames_{RecordFormat::Mp2};
    CMediaTimeline timeline_;
    // Transport stream.
    mpegts::SectionAssembler pat_;
    std::map<uint16_t, mpegts::SectionAssembler> pmts_;
    std::optional<ProgramMap> program_;
    uint16_t pmtPid_ = 0;
    uint8_t patCc_ = 0, pmtCc_ = 0;
    std::chrono::steady_clock::time_point lastTables_;
    std::vector<uint8_t> group_;
};

}  // namespace nvdvbsrv
