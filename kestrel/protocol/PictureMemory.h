#pragma once
// The card's composed output, the decoded picture with the on-screen display
// over it, as the server publishes it for the video window and for snapshots:
// one shared-memory object per instance, written by the server alone, read
// by anyone. The output is a PAL frame of 720 x 576 pixels: the stream's
// picture is scaled to it and the on-screen display sits at its own
// coordinates, as on a real card's video output.
//
// Readers and the writer meet through a sequence counter: odd while the
// server writes a frame, even when the frame is whole. A reader copies the
// frame and keeps the copy only when the counter was even and unchanged
// before and after.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/SharedMemory.h"

namespace kestrel::protocol {

inline constexpr const char* kPictureMemoryBase = "/!NVDVBSERVER!PICTURE!";
std::string PictureMemoryName(const std::string& suffix = InstanceSuffix());

inline constexpr std::uint32_t kPictureMagic = 0x4950564E;  // "NVPI" in memory order
inline constexpr std::uint32_t kPictureVersion = 1;
inline constexpr std::uint32_t kPictureWidth = 720;
inline constexpr std::uint32_t kPictureHeight = 576;
inline constexpr std::size_t kPictureDataOffset = 4096;
inline constexpr std::size_t kPictureMemorySize =
    kPictureDataOffset + std::size_t(kPictureWidth) * kPictureHeight * 4;

/// What is known of a published frame.
struct PictureInfo {
    std::uint32_t sourceWidth = 0;  ///< the decoded picture's own size, 0 without a picture
    std::uint32_t sourceHeight = 0;
    std::uint32_t aspect = 0;           ///< MPEG aspect code: 2 is 4:3, 3 is 16:9, 0 unknown
    std::uint32_t flags = 0;            ///< kPictureDecoded when a picture lies under the OSD
    std::uint64_t pts = 0;              ///< 90 kHz time stamp of the picture
    std::uint64_t frame = 0;            ///< frames published since the server started (from 1)
    std::uint32_t frameDurationUs = 0;  ///< the stream's frame period, 0 unknown
};
inline constexpr std::uint32_t kPictureDecoded = 1;

/// The layout at offset 0 of the object.
struct PictureHeader {
    std::uint32_t magic;
    std::uint32_t version;
    std::atomic<std::uint32_t> sequence;
    std::uint32_t width;  ///< of the pixels at kPictureDataOffset
    std::uint32_t height;
    std::uint32_t stride;  ///< bytes per row
    std::uint32_t sourceWidth;
    std::uint32_t sourceHeight;
    std::uint32_t aspect;
    std::uint32_t flags;
    std::uint32_t frameDurationUs;
    std::uint32_t reserved;
    std::uint64_t pts;
    std::uint64_t frame;
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
static_assert(sizeof(PictureHeader) <= kPictureDataOffset);

/// One frame as a reader holds it: pixels 0xFFRRGGBB, row after row, width
/// pixels a row (the byte order of a 32-bit RGB image in native endianness).
struct PictureFrame {
    PictureInfo info;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t sequence = 0;
    std::vector<std::uint32_t> pixels;
};

/// Server side: creates the object and publishes frames.
class PictureWriter {
  public:
    PictureWriter() = default;
    ~PictureWriter() { Close(); }  // the name goes with the writer
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;

    bool Create(const std::string& name = PictureMemoryName());
    void Close();
    /// Copies a 720 x 576 frame (`stride` bytes a row) with its information.
    void Publish(const std::uint32_t* pixels, std::size_t stride, PictureInfo info);
    bool IsOpen() const { return memory_.IsMapped(); }

  private:
    SharedMemory memory_;
    std::string name_;
    std::uint64_t frames_ = 0;
};

/// Reader side: opens the object read-only and copies whole frames.
class PictureReader {
  public:
    bool Open(const std::string& name = PictureMemoryName());
    void Close() { memory_.Close(); }
    bool IsOpen() const { return memory_.IsMapped(); }
    /// The sequence counter now (even: a whole frame is there); 0 before the first.
    std::uint32_t Sequence() const;
    /// Copies the frame; false when none was published yet or the writer kept
    /// writing through `attempts` tries.
    bool Read(PictureFrame& frame, int attempts = 8) const;

  private:
    SharedMemory memory_;
};

}  // namespace kestrel::protocol
