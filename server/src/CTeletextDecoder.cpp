#include "CTeletextDecoder.h"

#include <optional>

#include "mpegts/Hamming.h"
#include "mpegts/PesHeader.h"
#include "mpegts/TsPacket.h"

namespace nvdvbsrv {
namespace {

constexpr uint8_t kFraming = 0xE4;  // framing code as it stands in the PES
constexpr size_t kUnitLength = 44;
constexpr size_t kMaxPes = 64 * 1024;

// A Hamming 8/4 byte as DVB carries it (bits reversed).
std::optional<uint8_t> Nibble(uint8_t carried) {
    return mpegts::Hamming84Decode(mpegts::ReverseBits(carried));
}

}  // namespace

void CTeletextDecoder::SetPid(uint16_t pid) {
    std::lock_guard lock(mutex_);
    pid_ = pid;
    pes_.clear();
    lastCc_ = -1;
    for (auto& p : pages_) p.open = false;
}

void CTeletextDecoder::Stop() {
    std::lock_guard lock(mutex_);
    pid_ = -1;
    pes_.clear();
    for (auto& p : pages_) p.open = false;
}

bool CTeletextDecoder::Running() const {
    std::lock_guard lock(mutex_);
    return pid_ >= 0;
}

void CTeletextDecoder::ResetAssemblers() {
    std::lock_guard lock(mutex_);
    pes_.clear();
    lastCc_ = -1;
    for (auto& p : pages_) p.open = false;
}

void CTeletextDecoder::FeedPacket(std::span<const uint8_t> bytes) {
    const auto p = mpegts::TsPacket::View(bytes);
    if (!p) return;
    std::unique_lock lock(mutex_);
    if (pid_ < 0 || p->Pid() != pid_ || !p->HasPayload()) return;
    const int cc = p->ContinuityCounter();
    if (lastCc_ >= 0 && cc != ((lastCc_ + 1) & 0x0F)) pes_.clear();  // broken PES
    lastCc_ = cc;
    const auto payload = p->Payload();
    if (payload.empty()) return;
    if (p->PayloadUnitStart()) {
        std::vector<uint8_t> done;
        done.swap(pes_);
        pes_.assign(payload.begin(), payload.end());
        lock.unlock();
        if (!done.empty()) FeedPes(done);
        return;
    }
    if (!pes_.empty() && pes_.size() < kMaxPes)
        pes_.insert(pes_.end(), payload.begin(), payload.end());
}

void CTeletextDecoder::FeedPes(std::span<const uint8_t> pes) {
    const auto header = mpegts::PesHeader::Parse(pes);
    if (!header || header->payload.empty()) return;
    std::span<const uint8_t> data = header->payload;
    const uint8_t dataIdentifier = data[0];
    if (dataIdentifier < 0x10 || dataIdentifier > 0x1F) return;
    data = data.subspan(1);
    std::lock_guard lock(mutex_);
    // Data units: id, length, body; a unit that runs past the end ends the PES.
    while (data.size() >= 2) {
        const uint8_t id = data[0];
        const size_t len = data[1];
        if (2 + len > data.size()) break;
        if ((id == 0x02 || id == 0x03) && len == kUnitLength) Unit(data.subspan(2, len));
        data = data.subspan(2 + len);
    }
}

void CTeletextDecoder::Unit(std::span<const uint8_t> u) {
    if (u[1] != kFraming) return;
    const auto address1 = Nibble(u[2]);
    const auto address2 = Nibble(u[3]);
    if (!address1 || !address2) return;
    const int a = *address1, b = *address2;
    const int magazine = (a & 7) == 0 ? 8 : (a & 7);
    const int row = (a >> 3) | (b << 1);
    std::span<const uint8_t> data = u.subspan(4, 40);
    if (row == 0) {
        Header(magazine, data);
        return;
    }
    Page& page = pages_[magazine - 1];
    if (!page.open || row > 24) return;
    for (size_t i = 0; i < 40; ++i) page.bytes[size_t(row) * 40 + i] = mpegts::ReverseBits(data[i]);
}

void CTeletextDecoder::Header(int magazine, std::span<const uint8_t> d) {
    int h[8];
    for (size_t i = 0; i < 8; ++i) {
        const auto v = Nibble(d[i]);
        if (!v) return;
        h[i] = *v;
    }
    // A header ends the page under way of its magazine; in serial
    // transmission (C11) it ends the pages of every magazine.
    if (h[7] & 1) {
        for (auto& p : pages_) Finish(p);
    } else {
        Finish(pages_[magazine - 1]);
    }
    const int units = h[0], tens = h[1];
    if (units > 9 || tens > 9) return;  // time filling and hexadecimal pages
    Page& page = pages_[magazine - 1];
    page.open = true;
    page.number = magazine * 100 + tens * 10 + units;
    page.subcode = uint8_t(h[2] & 0x0F);
    page.bytes.fill(0x20);
    page.bytes[1000] = uint8_t(magazine);
    page.bytes[1001] = 0;
    page.bytes[1002] = page.subcode;
    for (size_t i = 1003; i < kPageSize; ++i) page.bytes[i] = 0;
    const std::string digits = std::to_string(page.number);
    for (size_t i = 0; i < 3; ++i) page.bytes[8 + i] = uint8_t(digits[i]);
    for (size_t col = 12; col < 40; ++col) page.bytes[col] = mpegts::ReverseBits(d[col]);
}

void CTeletextDecoder::Finish(Page& page) {
    if (!page.open) return;
    page.open = false;
    sink_.Send(kPort, page.bytes);
}

}  // namespace nvdvbsrv
