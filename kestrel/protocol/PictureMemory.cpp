#include "kestrel/protocol/PictureMemory.h"

#include <cstring>
#include <thread>

namespace kestrel::protocol {

namespace {
PictureHeader* HeaderOf(std::uint8_t* data) { return reinterpret_cast<PictureHeader*>(data); }
}  // namespace

std::string PictureMemoryName(const std::string& suffix) { return kPictureMemoryBase + suffix; }

bool PictureWriter::Create(const std::string& name) {
    Close();
    if (!memory_.Create(name, kPictureMemorySize)) return false;
    name_ = name;
    PictureHeader* h = HeaderOf(memory_.data());
    h->magic = kPictureMagic;
    h->version = kPictureVersion;
    h->width = kPictureWidth;
    h->height = kPictureHeight;
    h->stride = kPictureWidth * 4;
    h->sequence.store(0, std::memory_order_release);
    return true;
}

void PictureWriter::Close() {
    if (!memory_.IsMapped()) return;
    memory_.Close();
    SharedMemory::Unlink(name_);
}

void PictureWriter::Publish(const std::uint32_t* pixels, std::size_t stride, PictureInfo info) {
    if (!memory_.IsMapped()) return;
    PictureHeader* h = HeaderOf(memory_.data());
    const std::uint32_t even = h->sequence.load(std::memory_order_relaxed) & ~1u;
    h->sequence.store(even + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    auto* out = memory_.data() + kPictureDataOffset;
    const auto* in = reinterpret_cast<const std::uint8_t*>(pixels);
    for (std::uint32_t row = 0; row < kPictureHeight; ++row)
        std::memcpy(out + std::size_t(row) * h->stride, in + row * stride, h->stride);
    h->sourceWidth = info.sourceWidth;
    h->sourceHeight = info.sourceHeight;
    h->aspect = info.aspect;
    h->flags = info.flags;
    h->frameDurationUs = info.frameDurationUs;
    h->pts = info.pts;
    h->frame = ++frames_;
    h->sequence.store(even + 2, std::memory_order_release);
}

bool PictureReader::Open(const std::string& name) {
    Close();
    if (!memory_.Open(name, kPictureMemorySize, false) || !memory_.Map()) {
        memory_.Close();
        return false;
    }
    const PictureHeader* h = HeaderOf(memory_.data());
    if (h->magic != kPictureMagic || h->version != kPictureVersion || h->width != kPictureWidth ||
        h->height != kPictureHeight || h->stride != kPictureWidth * 4) {
        memory_.Close();
        return false;
    }
    return true;
}

std::uint32_t PictureReader::Sequence() const {
    if (!memory_.IsMapped()) return 0;
    return HeaderOf(memory_.data())->sequence.load(std::memory_order_acquire);
}

bool PictureReader::Read(PictureFrame& frame, int attempts) const {
    if (!memory_.IsMapped()) return false;
    const PictureHeader* h = HeaderOf(memory_.data());
    const std::size_t count = std::size_t(kPictureWidth) * kPictureHeight;
    for (int i = 0; i < attempts; ++i) {
        const std::uint32_t before = h->sequence.load(std::memory_order_acquire);
        if (before == 0) return false;
        if (before & 1u) {
            std::this_thread::yield();
            continue;
        }
        frame.pixels.resize(count);
        std::memcpy(frame.pixels.data(), memory_.data() + kPictureDataOffset, count * 4);
        frame.info = {h->sourceWidth, h->sourceHeight, h->aspect,         h->flags,
                      h->pts,         h->frame,        h->frameDurationUs};
        std::atomic_thread_fence(std::memory_order_acquire);
        if (h->sequence.load(std::memory_order_relaxed) == before) {
            frame.width = kPictureWidth;
            frame.height = kPictureHeight;
            frame.sequence = before;
            return true;
        }
    }
    return false;
}

}  // namespace kestrel::protocol
