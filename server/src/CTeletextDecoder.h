// The card's teletext acquisition: the EBU teletext of one PID (ETSI
// EN 300 472 in PES, ETS 300 706 pages) put together into whole pages by
// CTeletextPageAssembler; each complete page goes out once per transmission
// as one 1960-byte datagram at port offset kPort:
//
//   0-999    25 rows of 40 characters, row r at r * 40; row 0 is the header.
//            Characters as transmitted, parity bit (bit 7) included; a
//            character that arrived with a parity error is left out (the
//            cell keeps its earlier content, at first a space 0x20).
//   0-7      header columns 0-7: spaces 0x20 (a space has odd parity as it
//            is, so these read the same with or without the parity bit).
//   8-10     the page number 100-899 as three ASCII digits, without parity
//            bits, so that '0' + digit can be read as it is.
//   11-39    the header's own characters; column 11 is a space when the
//            broadcaster put a digit there, so the number stands alone.
//   1000     magazine 1-8
//   1001     0
//   1002     subcode S1 (bits 0-3), the subpage 1-15 of a rotating page, else 0
//   1003     national option of the header, C12 C13 C14 as a number with C12
//            the highest bit (C12 is sent first): 0 English, 1 German, 2 Swedish/Finnish/Hungarian,
//            3 Italian, 4 French, 5 Portuguese/Spanish, 6 Czech/Slovak, 7 reserved
//   1004-    0
//
// Pages with hexadecimal numbers and time-filling headers are not sent.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>

#include "CPesAssembler.h"
#include "CTeletextPageAssembler.h"
#include "IDatagramSink.h"
#include "IPacketSink.h"

namespace nvdvbsrv {

class CTeletextDecoder : public IPacketSink {
  public:
    static constexpr uint16_t kPort = 32;  // where the videotext receiver listens
    static constexpr size_t kPageSize = CTeletextPageAssembler::kPageSize;

    explicit CTeletextDecoder(IDatagramSink& sink);

    void SetPid(uint16_t pid);  // starts acquisition on that PID
    void Stop();
    bool Running() const;

    void FeedPacket(std::span<const uint8_t> packet) override;
    void ResetAssemblers() override;

    // Decodes one whole PES packet (for tests and the stream).
    void FeedPes(std::span<const uint8_t> pes);

  private:
    void Decode(std::span<const uint8_t> field);  // a PES data field

    IDatagramSink& sink_;
    mutable std::mutex mutex_;
    int pid_ = -1;
    CPesAssembler pes_;
    CTeletextPageAssembler pages_;
};

}  // namespace nvdvbsrv
