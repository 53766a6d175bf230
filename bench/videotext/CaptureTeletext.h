#pragma once
// The teletext of the RAI capture through the card's page assembly: one
// CTeletextDecoder per teletext PID over every packet, each datagram the card
// would send handed to a function in the receive path's place.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "CTeletextDecoder.h"
#include "IDatagramSink.h"

namespace videotextbench {

constexpr std::array<std::uint16_t, 4> kPids = {0x240, 0x241, 0x242, 0x257};

// The card's datagrams, handed to a function (the receive path's place).
template <class Take>
class Sink : public nvdvbsrv::IDatagramSink {
  public:
    explicit Sink(Take take) : take_(take) {}
    void Send(std::uint16_t, std::span<const std::uint8_t> data) override { take_(data); }

  private:
    Take take_;
};

template <class Take>
void Assemble(const std::vector<std::uint8_t>& ts, Take take) {
    Sink<Take> sink(take);
    std::vector<std::unique_ptr<nvdvbsrv::CTeletextDecoder>> decoders;
    for (const std::uint16_t pid : kPids) {
        decoders.push_back(std::make_unique<nvdvbsrv::CTeletextDecoder>(sink));
        decoders.back()->SetPid(pid);
    }
    for (std::size_t off = 0; off + 188 <= ts.size(); off += 188) {
        const auto packet = std::span<const std::uint8_t>(ts).subspan(off, 188);
        for (auto& decoder : decoders) decoder->FeedPacket(packet);
    }
}

}  // namespace videotextbench
