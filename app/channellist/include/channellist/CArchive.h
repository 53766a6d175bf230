#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "channellist/ByteBlock.h"
#include "channellist/CArchiveException.h"
#include "channellist/CSerializable.h"

/// The one binary encoding of channel lists, timer and playlist files and the
/// clipboard block: little-endian integers, counts, length-prefixed 8-bit
/// strings, byte blocks and tagged objects with one index space shared by
/// classes and objects.
///
/// An archive either stores (appends to a byte vector) or loads (reads from a
/// byte span). Loading is bounds-checked: any read past the end, and any
/// malformed tag, throws CArchiveException with the offset of the fault.
/// Lengths and counts are checked against the bytes that are left before
/// anything is allocated.
class CArchive {
    friend class ArchiveCursor;

public:
    static constexpr std::uint16_t Schema = 1;
    static constexpr std::size_t MaxClassNameLength = 63;
    /// Objects nested deeper than this (object fields holding objects) are refused.
    static constexpr int MaxObjectDepth = 64;

    /// An archive that loads from `input`; the bytes must outlive the archive.
    explicit CArchive(std::span<const std::uint8_t> input);
    /// An archive that stores by appending to `*output`. (A pointer, so that
    /// a vector passed by name selects the loading constructor.)
    explicit CArchive(std::vector<std::uint8_t>* output);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return out_ != nullptr; }
    bool IsLoading() const { return out_ == nullptr; }
    /// Bytes read so far (loading) or written by this archive (storing).
    std::size_t Offset() const { return out_ ? out_->size() - outBase_ : pos_; }
    /// Bytes not yet read (loading).
    std::size_t Remaining() const { return in_.size() - pos_; }

    // ---- storing ----
    void WriteU8(std::uint8_t v) { out_->push_back(v); }
    void WriteU16(std::uint16_t v) {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        WriteRaw(b, 2);
    }
    void WriteU32(std::uint32_t v) {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 24)};
        WriteRaw(b, 4);
    }
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteRaw(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        out_->insert(out_->end(), p, p + n);
    }
    /// Appends `n` bytes to the output and returns where they go, for
    /// records that write a whole run of fields with the Put helpers below.
    std::uint8_t* Extend(std::size_t n) {
        const std::size_t at = out_->size();
        out_->resize(at + n);
        return out_->data() + at;
    }
    void WriteCount(std::uint32_t n);
    void WriteString(std::string_view s);
    void WriteBytes(std::span<const std::uint8_t> block);
    /// Writes an object reference: null, a plain reference to an object this
    /// archive already wrote, or the object's class (described in full the
    /// first time) followed by the object's fields.
    void WriteObject(const CSerializable* object);

    // ---- loading ----
    std::uint8_t ReadU8() {
        Need(1);
        return in_[pos_++];
    }
    std::uint16_t ReadU16() {
        Need(2);
        const std::uint8_t* p = in_.data() + pos_;
        pos_ += 2;
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t ReadU32() {
        Need(4);
        const std::uint8_t* p = in_.data() + pos_;
        pos_ += 4;
        return U32At(p);
    }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    /// The next `n` bytes, checked against the end of the input.
    std::span<const std::uint8_t> ReadRaw(std::size_t n) {
        Need(n);
        auto s = in_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    std::uint32_t ReadCount() {
        const std::uint16_t shortCount = ReadU16();
        return shortCount != 0xFFFF ? shortCount : ReadLongCount();
    }
    std::string ReadString();
    ByteBlock ReadBytes();
    /// Read a string or byte block straight into its final storage.
    void ReadStringInto(std::string& s) {
        auto bytes = ReadRaw(ReadStringLength());
        // clear + append: a cheaper path in the library than assign.
        s.clear();
        s.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    void ReadBytesInto(ByteBlock& b) {
        auto bytes = ReadRaw(ReadCount());
        if (bytes.size() > ByteBlock::max_size()) FailAt(pos_ - bytes.size(), BlockTooLarge);
        b.AssignBytes(bytes.data(), bytes.size());
    }
    /// Little-endian values at `p`, for records that check a fixed run of
    /// fields once with ReadRaw and then decode it.
    static std::uint16_t U16At(const std::uint8_t* p) {
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    static std::uint32_t U32At(const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    /// Reads an object reference; nullptr for the null tag.
    std::shared_ptr<CSerializable> ReadObject();
    /// Reads an object reference that must be null or an object of class T.
    template <class T>
    std::shared_ptr<T> ReadObjectAs() {
        const std::size_t at = pos_;
        auto object = ReadObject();
        if (!object) return nullptr;
        auto typed = std::dynamic_pointer_cast<T>(object);
        if (!typed) FailAt(at, std::string("Objekt der falschen Klasse \"") + object->ClassName() + "\"");
        return typed;
    }

    // ---- encoding into a buffer sized beforehand ----
    static constexpr std::size_t CountSize(std::size_t n) { return n < 0xFFFF ? 2 : 6; }
    static constexpr std::size_t StringSize(std::size_t n) {
        return (n < 0xFF ? 1 : n < 0xFFFE ? 3 : 7) + n;
    }
    static constexpr std::size_t BytesSize(std::size_t n) { return CountSize(n) + n; }
    static std::uint8_t* PutU16(std::uint8_t* p, std::uint16_t v) {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        return p + 2;
    }
    static std::uint8_t* PutU32(std::uint8_t* p, std::uint32_t v) {
        p = PutU16(p, static_cast<std::uint16_t>(v));
        return PutU16(p, static_cast<std::uint16_t>(v >> 16));
    }
    /// A string in the form WriteString uses; `StringSize(s.size())` bytes.
    static std::uint8_t* PutString(std::uint8_t* p, std::string_view s) {
        const std::size_t n = s.size();
        if (n < 0xFF) {
            *p++ = static_cast<std::uint8_t>(n);
        } else {
            p = PutLongLength(p, n);
        }
        if (n != 0) std::memcpy(p, s.data(), n);
        return p + n;
    }
    /// A byte block in the form WriteBytes uses; `BytesSize(b.size())` bytes.
    static std::uint8_t* PutBytes(std::uint8_t* p, std::span<const std::uint8_t> b) {
        const std::size_t n = b.size();
        if (n < 0xFFFF) {
            p = PutU16(p, static_cast<std::uint16_t>(n));
        } else {
            p = PutU16(p, 0xFFFF);
            p = PutU32(p, static_cast<std::uint32_t>(n));
        }
        if (n != 0) std::memcpy(p, b.data(), n);
        return p + n;
    }

    // ---- both directions: store the value or load into it ----
    void Transfer(std::uint8_t& v) { IsStoring() ? WriteU8(v) : void(v = ReadU8()); }
    void Transfer(std::uint16_t& v) { IsStoring() ? WriteU16(v) : void(v = ReadU16()); }
    void Transfer(std::uint32_t& v) { IsStoring() ? WriteU32(v) : void(v = ReadU32()); }
    void Transfer(std::int32_t& v) { IsStoring() ? WriteI32(v) : void(v = ReadI32()); }
    void Transfer(std::string& s) { IsStoring() ? WriteString(s) : ReadStringInto(s); }
    void Transfer(ByteBlock& b) { IsStoring() ? WriteBytes(b) : ReadBytesInto(b); }

    /// Throws a format error at the current offset.
    [[noreturn]] void Fail(const std::string& message) const { FailAt(Offset(), message); }
    [[noreturn]] static void FailAt(std::size_t offset, const std::string& message);

    /// False once the reader met an encoding that this writer would not
    /// produce (a longer length form than needed, a class described twice,
    /// a big tag for a small index, ...). Records may clear it too, e.g. for
    /// table entries out of the writer's order. Storing such input again does
    /// not give the same bytes.
    bool Canonical() const { return canonical_; }
    void MarkNonCanonical() { canonical_ = false; }

private:
    void Need(std::size_t n) const {
        if (n > in_.size() - pos_) FailAt(pos_, EndOfInput);
    }
    static constexpr const char* EndOfInput = "Unerwartetes Dateiende";
    static constexpr const char* BlockTooLarge = "Byteblock zu groß";
    /// Reads a string's length prefix (the short, 16-bit or 32-bit form).
    std::size_t ReadStringLength() {
        if (pos_ < in_.size() && in_[pos_] != 0xFF) return in_[pos_++];
        return ReadLongStringLength();
    }
    std::size_t ReadLongStringLength();
    /// The 0xFF-led length forms of a string of 255 bytes or more.
    static std::uint8_t* PutLongLength(std::uint8_t* p, std::size_t n);
    std::uint32_t ReadLongCount();
    std::uint32_t TakeIndex();
    std::shared_ptr<CSerializable> ReadNewClassAndObject();
    std::shared_ptr<CSerializable> ReadNewObject(std::uint32_t classIndex, std::size_t tagOffset);
    std::shared_ptr<CSerializable> ResolveReference(std::uint32_t index, std::size_t tagOffset);
    void WriteNewObjectTag(const CSerializable& object);

    // loading
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    struct Slot {
        std::shared_ptr<CSerializable> object;  // set for object slots
        std::string className;                  // set for class slots
    };
    std::vector<Slot> slots_;  // index -> class or object (index 0 unused)
    std::unordered_set<std::string> describedClasses_;
    int depth_ = 0;
    bool canonical_ = true;

    // storing
    std::vector<std::uint8_t>* out_ = nullptr;
    std::size_t outBase_ = 0;
    std::unordered_map<const CSerializable*, std::uint32_t> writtenObjects_;
    std::unordered_map<std::string, std::uint32_t> writtenClasses_;

    std::uint32_t nextIndex_ = 1;
};
