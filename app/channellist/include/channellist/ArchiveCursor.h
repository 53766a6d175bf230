#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "channellist/ByteBlock.h"
#include "channellist/CArchive.h"

/// The read position of a loading CArchive, held in a local object by the
/// loops that read many records. Kept in registers, it is not reloaded
/// after every byte stored into a record (byte stores may alias anything,
/// including the archive's own position). Every read is bounds-checked as
/// in CArchive and fails with the same offset and message.
///
///     ArchiveCursor in(ar);   // takes the archive's position
///     ...                     // reads
///     in.Commit();            // gives it back
class ArchiveCursor {
public:
    explicit ArchiveCursor(CArchive& ar)
        : ar_(ar), begin_(ar.in_.data()), p_(begin_ + ar.pos_), end_(begin_ + ar.in_.size()) {}
    ArchiveCursor(const ArchiveCursor&) = delete;
    ArchiveCursor& operator=(const ArchiveCursor&) = delete;

    /// Hands the position back to the archive.
    void Commit() { ar_.pos_ = static_cast<std::size_t>(p_ - begin_); }
    std::size_t Offset() const { return static_cast<std::size_t>(p_ - begin_); }
    std::size_t Remaining() const { return static_cast<std::size_t>(end_ - p_); }

    std::uint16_t U16() {
        Need(2);
        const std::uint16_t v = CArchive::U16At(p_);
        p_ += 2;
        return v;
    }
    std::uint32_t U32() {
        Need(4);
        const std::uint32_t v = CArchive::U32At(p_);
        p_ += 4;
        return v;
    }
    /// Checks once that the fields of a fixed run (their sizes in
    /// `fieldSizes`, `total` bytes in all) are there, and returns the run's
    /// first byte. An input that ends inside the run fails at the field where
    /// it ends, as reading the fields one by one would.
    const std::uint8_t* Run(std::span<const std::uint8_t> fieldSizes, std::size_t total) {
        if (total > Remaining()) FailInRun(fieldSizes, Offset(), Size());
        const std::uint8_t* p = p_;
        p_ += total;
        return p;
    }
    void StringInto(std::string& s) {
        const std::size_t n = StringLength();
        Need(n);
        s.clear();
        s.append(reinterpret_cast<const char*>(p_), n);
        p_ += n;
    }
    void BytesInto(ByteBlock& b) {
        // Short blocks into an inline block, with 16 bytes to copy from.
        if (Remaining() >= 2 + 16 && b.IsInline()) {
            const std::uint16_t n = CArchive::U16At(p_);
            if (n <= ByteBlock::InlineCapacity) {
                b.AssignInlineFrom16(p_ + 2, n);
                p_ += 2 + n;
                return;
            }
        }
        const std::uint32_t n = Count();
        Need(n);
        if (n > ByteBlock::max_size()) CArchive::FailAt(Offset(), CArchive::BlockTooLarge);
        b.AssignBytes(p_, n);
        p_ += n;
    }

private:
    // The slow paths take and return plain values: were the cursor's
    // address passed to a function the compiler cannot see, every byte
    // stored into a record would force its position back out of registers.
    struct Length {
        std::size_t length;
        const std::uint8_t* next;
    };
    std::size_t Size() const { return static_cast<std::size_t>(end_ - begin_); }
    void Need(std::size_t n) const {
        if (n > Remaining()) CArchive::FailAt(Offset(), CArchive::EndOfInput);
    }
    [[noreturn]] static void FailInRun(std::span<const std::uint8_t> fieldSizes, std::size_t at,
                                       std::size_t size);
    std::size_t StringLength() {
        Need(1);
        const std::uint8_t first = *p_++;
        if (first != 0xFF) return first;
        const Length long_ = LongStringLength(ar_, begin_, p_, end_);
        p_ = long_.next;
        return long_.length;
    }
    /// The length after a string's 0xFF byte at `p`.
    static Length LongStringLength(CArchive& ar, const std::uint8_t* begin,
                                   const std::uint8_t* p, const std::uint8_t* end);
    std::uint32_t Count() {
        const std::uint16_t shortCount = U16();
        if (shortCount != 0xFFFF) return shortCount;
        const Length long_ = LongCount(ar_, begin_, p_, end_);
        p_ = long_.next;
        return static_cast<std::uint32_t>(long_.length);
    }
    /// The n-byte (2 or 4) number at `p`, or a failure at its offset.
    static std::uint32_t NumberAt(const std::uint8_t* begin, const std::uint8_t* p,
                                  const std::uint8_t* end, std::size_t n);
    /// The 32-bit count after a 0xFFFF count at `p`.
    static Length LongCount(CArchive& ar, const std::uint8_t* begin, const std::uint8_t* p,
                            const std::uint8_t* end);

    CArchive& ar_;
    const std::uint8_t* begin_;
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};
