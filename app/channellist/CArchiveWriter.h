#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "channellist/CSerializable.h"

/// Writes the encoding that CArchiveReader reads, appending to a byte
/// vector. Records that write a whole run of fields size it first, take the
/// room with Extend and fill it with the Put helpers, which use the same
/// forms as the Write calls.
class CArchiveWriter {
  public:
    static constexpr std::uint16_t Schema = 1;

    /// A writer that appends to `out`; the vector must outlive the writer.
    explicit CArchiveWriter(std::vector<std::uint8_t>& out);
    ~CArchiveWriter();
    CArchiveWriter(const CArchiveWriter&) = delete;
    CArchiveWriter& operator=(const CArchiveWriter&) = delete;

    /// Bytes written by this writer.
    std::size_t Offset() const { return out_.size() - base_; }

    void WriteU8(std::uint8_t v) { out_.push_back(v); }
    void WriteU16(std::uint16_t v) {
        std::uint8_t b[2];
        PutU16(b, v);
        WriteRaw(b, 2);
    }
    void WriteU32(std::uint32_t v) {
        std::uint8_t b[4];
        PutU32(b, v);
        WriteRaw(b, 4);
    }
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteRaw(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        out_.insert(out_.end(), p, p + n);
    }
    void WriteCount(std::uint32_t n);
    void WriteString(std::string_view s);
    void WriteBytes(std::span<const std::uint8_t> block);
    /// Writes an object reference: null, a plain reference to an object this
    /// writer already wrote, or the object's class (described in full the
    /// first time) followed by the object's fields.
    void WriteObject(const CSerializable* object);

    /// Appends `n` bytes and returns where they go.
    std::uint8_t* Extend(std::size_t n) {
        const std::size_t at = out_.size();
        out_.resize(at + n);
        return out_.data() + at;
    }

    // ---- encoding into room sized beforehand ----
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
    static std::uint8_t* PutCount(std::uint8_t* p, std::size_t n) {
        if (n < 0xFFFF) return PutU16(p, static_cast<std::uint16_t>(n));
        p = PutU16(p, 0xFFFF);
        return PutU32(p, static_cast<std::uint32_t>(n));
    }
    /// A string in the form WriteString uses; `StringSize(s.size())` bytes.
    static std::uint8_t* PutString(std::uint8_t* p, std::string_view s) {
        const std::size_t n = s.size();
        if (n < 0xFF) {
            *p++ = static_cast<std::uint8_t>(n);
        } else {
            *p++ = 0xFF;
            if (n < 0xFFFE) {
                p = PutU16(p, static_cast<std::uint16_t>(n));
            } else {
                p = PutU16(p, 0xFFFF);
                p = PutU32(p, static_cast<std::uint32_t>(n));
            }
        }
        if (n != 0) std::memcpy(p, s.data(), n);
        return p + n;
    }
    /// A byte block in the form WriteBytes uses; `BytesSize(b.size())` bytes.
    static std::uint8_t* PutBytes(std::uint8_t* p, std::span<const std::uint8_t> b) {
        const std::size_t n = b.size();
        p = PutCount(p, n);
        if (n != 0) std::memcpy(p, b.data(), n);
        return p + n;
    }

  private:
    void WriteNewObjectTag(const CSerializable& object);

    std::vector<std::uint8_t>& out_;
    std::size_t base_;
    std::unordered_map<const CSerializable*, std::uint32_t> writtenObjects_;
    std::unordered_map<std::string, std::uint32_t> writtenClasses_;
    std::uint32_t nextIndex_ = 1;
};
