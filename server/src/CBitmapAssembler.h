// Collects one bitmap for the on-screen display: LoadBitmapA announces its
// kind and size, then the palette and the packed image rows (top row first)
// arrive as datagrams. Datagrams are outside bytes: each is checked against
// what was announced, and a transfer that goes wrong is dropped whole.
// Not thread-safe (COsd holds it under its lock).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace nvdvbsrv {

struct OsdBitmap {
    int bits = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> palette;  // 2^bits entries of 0, Cb, Y, Cr
    std::vector<uint8_t> image;    // packed rows, top first, the leftmost pixel in the top bits

    uint8_t Index(uint32_t x, uint32_t y) const;
};

class CBitmapAssembler {
  public:
    // False (and nothing announced) when the card does not take the kind or size.
    bool Announce(uint32_t kind, uint32_t width, uint32_t height);
    // One datagram as received, with its 2 leading bytes.
    void Datagram(std::span<const uint8_t> datagram);
    // The bitmap once palette and image are complete; else nullptr.
    const OsdBitmap* Complete() const { return state_ == State::Complete ? &bitmap_ : nullptr; }
    void Release();
    // Datagrams that did not fit the transfer under way.
    uint64_t Rejected() const { return rejected_; }

  private:
    enum class State { Idle, Palette, Image, Complete };
    State state_ = State::Idle;
    OsdBitmap bitmap_;
    uint64_t rejected_ = 0;
};

}  // namespace nvdvbsrv
