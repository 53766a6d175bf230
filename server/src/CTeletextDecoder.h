// The card's teletext acquisition: collects the EBU teletext data units of one
// PID (ETSI EN 300 472 in PES, ETS 300 706 pages) into whole pages and sends
// each finished page as one 1960-byte datagram:
//   bytes 0-999   25 rows of 40 characters (parity bits kept); row 0 is the
//                 header with the page number as three ASCII digits at 8-10
//   byte 1000     magazine 1-8, byte 1001 0, byte 1002 subcode S1
// Pages with hexadecimal numbers are not sent.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "IDatagramSink.h"
#include "IPacketSink.h"

namespace nvdvbsrv {

class CTeletextDecoder : public IPacketSink {
  public:
    static constexpr uint16_t kPort = 32;  // where the videotext receiver listens
    static constexpr size_t kPageSize = 1960;

    explicit CTeletextDecoder(IDatagramSink& sink) : sink_(sink) {}

    void SetPid(uint16_t pid);  // starts acquisition on that PID
    void Stop();
    bool Running() const;

    void FeedPacket(std::span<const uint8_t> packet) override;
    void ResetAssemblers() override;

    // Decodes one PES packet's payload (for tests and the stream).
    void FeedPes(std::span<const uint8_t> pes);

  private:
    struct Page {
        bool open = false;
        int number = 0;  // magazine * 100 + tens * 10 + units
        uint8_t subcode = 0;
        std::array<uint8_t, kPageSize> bytes{};
    };
    void Unit(std::span<const uint8_t> unit);
    void Header(int magazine, std::span<const uint8_t> data);
    void Finish(Page& page);

    IDatagramSink& sink_;
    mutable std::mutex mutex_;
    int pid_ = -1;
    std::vector<uint8_t> pes_;
    int lastCc_ = -1;
    std::array<Page, 8> pages_;  // by magazine
};

}  // namespace nvdvbsrv
