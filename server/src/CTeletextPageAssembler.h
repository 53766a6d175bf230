// Whole teletext pages from the packets of one stream, in the magazine
// order of ETS 300 706: a page begins with its header and is complete when
// the next header of its magazine arrives (parallel transmission) or, when
// that header has C11 set (serial transmission), the next header of any
// magazine. A complete page goes to the sink once per transmission, as the
// 1960-byte datagram that CTeletextDecoder.h describes.
//
// - Rows 1-24 go into the page of their magazine; packet 25 and the
//   enhancement packets 26-31 are not shown and change nothing.
// - A character with a parity error is not taken: the row keeps what it
//   held before, a space or the character of the page's last transmission.
// - Rows not sent again keep their text from the page's last transmission
//   (same page number and subcode), unless the header has C4 (erase page).
// - A time-filling header (page xFF) ends pages and opens none; so does a
//   header with a hexadecimal page number (that page is not sent) and one
//   whose Hamming bytes are beyond repair (its magazine's page under way
//   ends, and the rows after it go nowhere until the next good header).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>

#include "mpegts/TeletextPacket.h"

namespace nvdvbsrv {

class CTeletextPageAssembler {
  public:
    static constexpr std::size_t kPageSize = 1960;
    static constexpr std::size_t kRows = 25;
    static constexpr std::size_t kColumns = 40;
    using Rows = std::array<std::uint8_t, kRows * kColumns>;
    using Send = std::function<void(std::span<const std::uint8_t>)>;

    explicit CTeletextPageAssembler(Send send) : send_(std::move(send)) {}

    void Packet(const mpegts::TeletextPacket& packet);
    // The stream jumped: pages under way are dropped, the page memory stays.
    void Reset();
    // A new stream: also forgets the earlier transmissions of every page.
    void Clear();

  private:
    struct Page {
        bool open = false;
        int number = 0;  // 100-899
        std::uint16_t subcode = 0;
        std::uint8_t national = 0;
        Rows rows{};
    };
    void Header(const mpegts::TeletextPacket& packet);
    void Open(Page& page, int magazine, const mpegts::TeletextHeader& header);
    void Finish(Page& page, int magazine);
    static void Take(std::span<std::uint8_t> row, std::span<const std::uint8_t> chars);

    Send send_;
    std::array<Page, 8> pages_{};  // by magazine 1-8
    std::map<std::uint32_t, Rows> memory_;
};

// The datagram of one page (layout in CTeletextDecoder.h).
std::array<std::uint8_t, CTeletextPageAssembler::kPageSize> TeletextDatagram(
    const CTeletextPageAssembler::Rows& rows, int number, int magazine, std::uint8_t s1,
    std::uint8_t national);

}  // namespace nvdvbsrv
