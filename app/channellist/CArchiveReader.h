#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "channellist/ByteBlock.h"
#include "channellist/CSerializable.h"

/// A format error while reading an archive: where it happened and why (German).
struct ArchiveError {
    std::size_t offset = 0;
    std::string message;
};

/// Reads the binary encoding of channel lists, timer and playlist files and
/// the clipboard block: little-endian integers, counts, length-prefixed 8-bit
/// strings, byte blocks and tagged objects with one index space shared by
/// classes and objects.
///
/// Every read is bounds-checked. The first fault (a read past the end, a
/// malformed tag ...) is kept with its offset and makes the error sticky:
/// from then on the reader is at its end, every read fails and returns zero,
/// an empty string or block, or nullptr, and nothing is read outside the
/// input. Loops over counts stop at `Failed()`. Lengths and counts are
/// checked against the bytes that are left before anything is allocated.
///
/// The position is a pointer and the end of the input. Record loaders
/// borrow both as a Position value for the length of a record, so that they
/// stay in registers while the record is stored (see FieldLayout.h).
class CArchiveReader {
  public:
    static constexpr std::uint16_t Schema = 1;
    static constexpr std::size_t MaxClassNameLength = 63;
    /// Objects nested deeper than this (object fields holding objects) are refused.
    static constexpr int MaxObjectDepth = 64;
    /// The largest fixed run of fields that ReadFixed serves.
    static constexpr std::size_t MaxFixedRun = 64;

    /// A reader of `input`; the bytes must outlive the reader.
    explicit CArchiveReader(std::span<const std::uint8_t> input);
    ~CArchiveReader();
    CArchiveReader(const CArchiveReader&) = delete;
    CArchiveReader& operator=(const CArchiveReader&) = delete;

    /// Bytes read so far (the whole input once failed).
    std::size_t Offset() const { return static_cast<std::size_t>(p_ - begin_); }
    /// Bytes not yet read (0 once failed).
    std::size_t Remaining() const { return static_cast<std::size_t>(end_ - p_); }
    bool Failed() const { return failed_; }
    /// The first fault; meaningful when Failed().
    const ArchiveError& Error() const { return error_; }

    /// Records a fault at `offset` unless one is recorded already, and
    /// moves the reader to its end.
    void FailAt(std::size_t offset, std::string_view message);
    void Fail(std::string_view message) { FailAt(Offset(), message); }

    /// False once the reader met an encoding that the writer would not
    /// produce (a longer length form than needed, a class described twice,
    /// a big tag for a small index, ...). Records may clear it too, e.g. for
    /// table entries out of the writer's order. Storing such input again
    /// does not give the same bytes.
    bool Canonical() const { return canonical_; }
    void MarkNonCanonical() { canonical_ = false; }

    std::uint8_t ReadU8() {
        if (Remaining() < 1) [[unlikely]]
            return FailEnd(), 0;
        return *p_++;
    }
    std::uint16_t ReadU16() {
        if (Remaining() < 2) [[unlikely]]
            return FailEnd(), 0;
        const std::uint16_t v = U16At(p_);
        p_ += 2;
        return v;
    }
    std::uint32_t ReadU32() {
        if (Remaining() < 4) [[unlikely]]
            return FailEnd(), 0;
        const std::uint32_t v = U32At(p_);
        p_ += 4;
        return v;
    }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    /// The next `n` bytes; an empty span once failed.
    std::span<const std::uint8_t> ReadRaw(std::size_t n) {
        if (n > Remaining()) [[unlikely]]
            return FailEnd(), std::span<const std::uint8_t>();
        const std::uint8_t* at = p_;
        p_ += n;
        return {at, n};
    }
    /// Checks once that a fixed run of fields (their widths in `widths`,
    /// `total` bytes in all, at most MaxFixedRun) is there and returns its
    /// first byte. An input that ends inside the run fails at the field where
    /// it ends, as reading the fields one by one would; the run then reads as
    /// zeros.
    const std::uint8_t* ReadFixed(std::span<const std::uint8_t> widths, std::size_t total) {
        if (total > Remaining()) [[unlikely]]
            return FailInRun(widths);
        const std::uint8_t* at = p_;
        p_ += total;
        return at;
    }
    std::uint32_t ReadCount() {
        const std::uint16_t shortCount = ReadU16();
        if (shortCount != 0xFFFF) [[likely]]
            return shortCount;
        return ReadLongCount();
    }

    /// The read position as two plain values. A record loader that stores
    /// into records while it reads (a byte store may alias the reader's own
    /// position, a local copy cannot be) borrows it, reads the common forms
    /// with the Take... helpers below, hands it back before any other read
    /// of the reader, and borrows it again after.
    struct Position {
        const std::uint8_t* p;
        const std::uint8_t* end;
        std::size_t Left() const { return static_cast<std::size_t>(end - p); }
    };
    Position Borrow() const { return {p_, end_}; }
    void GiveBack(Position at) { p_ = at.p; }

    /// The common forms on a borrowed position: true and the value read, or
    /// false with nothing read (the reader then reads it, faults included).
    template <class T>
    [[gnu::always_inline]] static bool TakeNumber(Position& at, T& v) {
        if (at.Left() < sizeof(T)) [[unlikely]]
            return false;
        v = static_cast<T>(sizeof(T) == 2 ? U16At(at.p) : U32At(at.p));
        at.p += sizeof(T);
        return true;
    }
    /// A string of up to 254 bytes (one length byte).
    [[gnu::always_inline]] static bool TakeShortString(Position& at, std::string& s) {
        if (at.p == at.end || *at.p == 0xFF) [[unlikely]]
            return false;
        const std::size_t n = *at.p;
        if (n > at.Left() - 1) [[unlikely]]
            return false;
        // The length is below 256 here. Hidden from the optimiser, the copy
        // stays a call of the library's memcpy: for a length it knows to be
        // small, the compiler inlines a string instruction instead, which is
        // slow for the short names of a list.
        std::size_t length = n;
        asm("" : "+r"(length));
        s.clear();
        s.append(reinterpret_cast<const char*>(at.p + 1), length);
        at.p += 1 + n;
        return true;
    }
    /// A block of up to InlineCapacity bytes into an inline block, with 16
    /// bytes to copy from.
    [[gnu::always_inline]] static bool TakeInlineBlock(Position& at, ByteBlock& b) {
        if (at.Left() < 2 + 16 || !b.IsInline()) [[unlikely]]
            return false;
        const std::uint16_t n = U16At(at.p);
        if (n > ByteBlock::InlineCapacity) [[unlikely]]
            return false;
        b.AssignInlineFrom16(at.p + 2, n);
        at.p += 2 + n;
        return true;
    }
    /// A fixed run of `total` bytes: its first byte, or nullptr.
    [[gnu::always_inline]] static const std::uint8_t* TakeRun(Position& at, std::size_t total) {
        if (total > at.Left()) [[unlikely]]
            return nullptr;
        const std::uint8_t* first = at.p;
        at.p += total;
        return first;
    }

    /// Read a string or byte block straight into its final storage (emptied
    /// on a fault).
    void ReadStringInto(std::string& s) {
        Position at = Borrow();
        if (TakeShortString(at, s)) return GiveBack(at);
        // A long form, or a string that does not fit what is left.
        s.clear();
        const std::size_t n = p_ != end_ && *p_ != 0xFF ? *p_++ : ReadLongStringLength();
        if (n > Remaining()) [[unlikely]]
            return FailEnd();
        s.append(reinterpret_cast<const char*>(p_), n);
        p_ += n;
    }
    void ReadBytesInto(ByteBlock& b) {
        Position at = Borrow();
        if (TakeInlineBlock(at, b)) return GiveBack(at);
        const std::uint32_t n = ReadCount();
        if (n > Remaining()) [[unlikely]] {
            b.clear();
            return FailEnd();
        }
        if (n > ByteBlock::max_size()) [[unlikely]] {
            b.clear();
            return Fail(BlockTooLarge);
        }
        b.AssignBytes(p_, n);
        p_ += n;
    }
    std::string ReadString() {
        std::string s;
        ReadStringInto(s);
        return s;
    }
    ByteBlock ReadBytes() {
        ByteBlock b;
        ReadBytesInto(b);
        return b;
    }

    /// Reads an object reference; nullptr for the null tag and on a fault.
    std::shared_ptr<CSerializable> ReadObject();
    /// Reads an object reference that must be null or an object of class T.
    template <class T>
    std::shared_ptr<T> ReadObjectAs() {
        const std::size_t at = Offset();
        auto object = ReadObject();
        if (!object) return nullptr;
        auto typed = std::dynamic_pointer_cast<T>(object);
        if (!typed) FailWrongClass(at, object->ClassName());
        return typed;
    }

    /// Little-endian values at `p`.
    static std::uint16_t U16At(const std::uint8_t* p) {
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    static std::uint32_t U32At(const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

    static constexpr const char* EndOfInput = "Unerwartetes Dateiende";
    static constexpr const char* BlockTooLarge = "Byteblock zu groß";

  private:
    struct Slot {
        std::shared_ptr<CSerializable> object;  // set for object slots
        std::string className;                  // set for class slots
    };

    void FailEnd() { Fail(EndOfInput); }
    const std::uint8_t* FailInRun(std::span<const std::uint8_t> widths);
    void FailWrongClass(std::size_t at, const char* className);
    /// The 0xFF-led length forms of a string of 255 bytes or more.
    std::size_t ReadLongStringLength();
    std::uint32_t ReadLongCount();
    std::uint32_t TakeIndex();
    std::shared_ptr<CSerializable> ReadNewClassAndObject(std::size_t tagOffset);
    std::shared_ptr<CSerializable> ReadNewObject(std::uint32_t classIndex, std::size_t tagOffset);
    std::shared_ptr<CSerializable> ResolveReference(std::uint32_t index, std::size_t tagOffset);

    const std::uint8_t* begin_;
    const std::uint8_t* p_;
    const std::uint8_t* end_;
    bool failed_ = false;
    bool canonical_ = true;
    ArchiveError error_;

    // Tagged objects: index -> class or object (index 0 is the null reference).
    std::vector<Slot> slots_;
    std::unordered_set<std::string> describedClasses_;
    std::uint32_t nextIndex_ = 1;
    int depth_ = 0;
};
