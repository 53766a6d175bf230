#include "CTeletextDecoder.h"

namespace nvdvbsrv {
namespace {

constexpr uint8_t kFraming = 0xE4;  // framing code as it stands in the PES
constexpr size_t kUnitLength = 44;
constexpr size_t kMaxPes = 64 * 1024;

}  // namespace

uint8_t CTeletextDecoder::Reverse(uint8_t b) {
    b = uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

int CTeletextDecoder::Hamming84(uint8_t b) {
    // Bits as transmitted, b1 in bit 0: P1 D1 P2 D2 P3 D3 P4 D4; every test
    // below has odd parity when the byte arrived unharmed.
    auto bit = [b](int i) { return (b >> i) & 1; };
    const bool failA = !(bit(0) ^ bit(1) ^ bit(5) ^ bit(7));
    const bool failB = !(bit(1) ^ bit(2) ^ bit(3) ^ bit(7));
    const bool failC = !(bit(1) ^ bit(3) ^ bit(4) ^ bit(5));
    const bool allOdd = bit(0) ^ bit(1) ^ bit(2) ^ bit(3) ^ bit(4) ^ bit(5) ^ bit(6) ^ bit(7);
    int data = bit(1) | bit(3) << 1 | bit(5) << 2 | bit(7) << 3;
    if (!failA && !failB && !failC) return data;  // at most P4 was hit
    if (allOdd) return -1;                        // two bits wrong
    // One bit wrong: the tests that fail tell which.
    if (failA && failB && failC)
        data ^= 1;
    else if (failB && failC)
        data ^= 2;
    else if (failA && failC)
        data ^= 4;
    else if (failA && failB)
        data ^= 8;
    return data;
}

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

void CTeletextDecoder::FeedPacket(std::span<const uint8_t> p) {
    if (p.size() != 188 || p[0] != 0x47) return;
    std::unique_lock lock(mutex_);
    if (pid_ < 0 || ((p[1] & 0x1F) << 8 | p[2]) != pid_ || !(p[3] & 0x10)) return;
    const int cc = p[3] & 0x0F;
    if (lastCc_ >= 0 && cc != ((lastCc_ + 1) & 0x0F)) pes_.clear();  // broken PES
    lastCc_ = cc;
    size_t at = 4 + ((p[3] & 0x20) ? 1 + size_t(p[4]) : 0);
    if (at >= p.size()) return;
    if (p[1] & 0x40) {
        std::vector<uint8_t> done;
        done.swap(pes_);
        pes_.assign(p.begin() + long(at), p.end());
        lock.unlock();
        if (!done.empty()) FeedPes(done);
        return;
    }
    if (!pes_.empty() && pes_.size() < kMaxPes)
        pes_.insert(pes_.end(), p.begin() + long(at), p.end());
}

void CTeletextDecoder::FeedPes(std::span<const uint8_t> pes) {
    // PES header: start code, stream id, length, flags, header length.
    if (pes.size() < 9 || pes[0] != 0 || pes[1] != 0 || pes[2] != 1) return;
    size_t at = 9 + size_t(pes[8]);
    const size_t declared = 6 + (size_t(pes[4]) << 8 | pes[5]);
    if (declared > 6 && declared < pes.size()) pes = pes.first(declared);
    if (at >= pes.size()) return;
    const uint8_t dataIdentifier = pes[at++];
    if (dataIdentifier < 0x10 || dataIdentifier > 0x1F) return;
    std::lock_guard lock(mutex_);
    while (at + 2 <= pes.size()) {
        const uint8_t id = pes[at];
        const size_t len = pes[at + 1];
        if (at + 2 + len > pes.size()) break;
        if ((id == 0x02 || id == 0x03) && len == kUnitLength) Unit(pes.subspan(at + 2, len));
        at += 2 + len;
    }
}

void CTeletextDecoder::Unit(std::span<const uint8_t> u) {
    if (u[1] != kFraming) return;
    const int a = Hamming84(Reverse(u[2]));
    const int b = Hamming84(Reverse(u[3]));
    if (a < 0 || b < 0) return;
    const int magazine = (a & 7) == 0 ? 8 : (a & 7);
    const int row = (a >> 3) | (b << 1);
    std::span<const uint8_t> data = u.subspan(4, 40);
    if (row == 0) {
        Header(magazine, data);
        return;
    }
    Page& page = pages_[magazine - 1];
    if (!page.open || row > 24) return;
    for (size_t i = 0; i < 40; ++i) page.bytes[size_t(row) * 40 + i] = Reverse(data[i]);
}

void CTeletextDecoder::Header(int magazine, std::span<const uint8_t> d) {
    int h[8];
    for (int i = 0; i < 8; ++i) h[i] = Hamming84(Reverse(d[size_t(i)]));
    for (int v : h) {
        if (v < 0) return;
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
    for (size_t col = 12; col < 40; ++col) page.bytes[col] = Reverse(d[col]);
}

void CTeletextDecoder::Finish(Page& page) {
    if (!page.open) return;
    page.open = false;
    sink_.Send(kPort, page.bytes);
}

}  // namespace nvdvbsrv
