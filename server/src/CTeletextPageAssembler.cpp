#include "CTeletextPageAssembler.h"

#include <algorithm>

namespace nvdvbsrv {
namespace {

constexpr std::uint8_t kSpace = 0x20;  // odd parity as it is
constexpr std::size_t kHeaderTextFrom = 8;
constexpr std::size_t kNumberAt = 8;
constexpr std::size_t kMagazineAt = 1000;
constexpr std::size_t kSubcodeAt = 1002;
constexpr std::size_t kNationalAt = 1003;
constexpr int kLastShownRow = 24;
constexpr std::size_t kMemoryLimit = 4096;  // pages and subpages remembered

std::uint32_t MemoryKey(int number, std::uint16_t subcode) {
    return std::uint32_t(number) << 16 | subcode;
}

bool IsDigit(std::uint8_t b) {
    const std::uint8_t c = b & 0x7F;
    return c >= '0' && c <= '9';
}

}  // namespace

std::array<std::uint8_t, CTeletextPageAssembler::kPageSize> TeletextDatagram(
    const CTeletextPageAssembler::Rows& rows, int number, int magazine, std::uint8_t s1,
    std::uint8_t national) {
    std::array<std::uint8_t, CTeletextPageAssembler::kPageSize> d{};
    std::copy(rows.begin(), rows.end(), d.begin());
    std::fill_n(d.begin(), kHeaderTextFrom, kSpace);
    d[kNumberAt] = std::uint8_t('0' + number / 100);
    d[kNumberAt + 1] = std::uint8_t('0' + number / 10 % 10);
    d[kNumberAt + 2] = std::uint8_t('0' + number % 10);
    // The number must stand alone for the receiver's search of the header.
    if (IsDigit(d[kNumberAt + 3])) d[kNumberAt + 3] = kSpace;
    d[kMagazineAt] = std::uint8_t(magazine);
    d[kMagazineAt + 1] = 0;
    d[kSubcodeAt] = std::uint8_t(s1 & 0x0F);
    d[kNationalAt] = std::uint8_t(national & 7);
    return d;
}

void CTeletextPageAssembler::Packet(const mpegts::TeletextPacket& packet) {
    if (packet.number == 0) {
        Header(packet);
        return;
    }
    if (packet.number > kLastShownRow) return;
    Page& page = pages_[size_t(packet.magazine - 1)];
    if (!page.open) return;
    Take(std::span(page.rows).subspan(size_t(packet.number) * kColumns, kColumns), packet.data);
}

void CTeletextPageAssembler::Header(const mpegts::TeletextPacket& packet) {
    const int magazine = packet.magazine;
    Page& own = pages_[size_t(magazine - 1)];
    if (!packet.header) {
        Finish(own, magazine);
        return;
    }
    const mpegts::TeletextHeader& h = *packet.header;
    if (h.serial) {
        for (size_t m = 0; m < pages_.size(); ++m) Finish(pages_[m], int(m) + 1);
    } else {
        Finish(own, magazine);
    }
    if (!h.Decimal()) return;  // time filling or a hexadecimal page
    Open(own, magazine, h);
    Take(std::span(own.rows).subspan(kHeaderTextFrom, kColumns - kHeaderTextFrom),
         std::span(packet.data).subspan(kHeaderTextFrom));
}

void CTeletextPageAssembler::Open(Page& page, int magazine, const mpegts::TeletextHeader& h) {
    page.open = true;
    page.number = magazine * 100 + h.tens * 10 + h.units;
    page.subcode = h.subcode;
    page.national = h.national;
    const auto earlier = memory_.find(MemoryKey(page.number, page.subcode));
    if (h.erase || earlier == memory_.end())
        page.rows.fill(kSpace);
    else
        page.rows = earlier->second;
}

void CTeletextPageAssembler::Finish(Page& page, int magazine) {
    if (!page.open) return;
    page.open = false;
    if (memory_.size() >= kMemoryLimit) memory_.clear();
    memory_[MemoryKey(page.number, page.subcode)] = page.rows;
    const auto d = TeletextDatagram(page.rows, page.number, magazine,
                                    std::uint8_t(page.subcode & 0x0F), page.national);
    send_(d);
}

void CTeletextPageAssembler::Take(std::span<std::uint8_t> row,
                                  std::span<const std::uint8_t> chars) {
    for (size_t i = 0; i < row.size() && i < chars.size(); ++i)
        if (mpegts::TeletextCharacter(chars[i])) row[i] = chars[i];
}

void CTeletextPageAssembler::Reset() {
    for (auto& p : pages_) p.open = false;
}

void CTeletextPageAssembler::Clear() {
    Reset();
    memory_.clear();
}

}  // namespace nvdvbsrv
