#pragma once
#include <cstdint>
#include <string>

#include "channellist/ByteBlock.h"
#include "channellist/ArchiveCursor.h"
#include "channellist/CArchive.h"
#include "channellist/CSerializable.h"

/// One elementary stream of a program.
class CStreaminfo : public CSerializable {
public:
    ByteBlock Descriptors;        ///< descriptor loop as in the PMT (tag, length, payload)...
    std::uint16_t StreamType = 0; ///< MPEG stream type
    std::uint16_t Pid = 0;        ///< elementary PID

    // User-provided, so that value-initialisation does not zero the object
    // before the member initialisers run (see CProgramInfo).
    CStreaminfo() noexcept {}

    const char* ClassName() const override { return "CStreaminfo"; }
    void Serialize(CArchive& ar) override;

    /// Three-letter ISO 639 code of the first language descriptor (tag 0x0A), or "" when none.
    std::string LanguageCode() const;
    /// "Video", "Audio", "Teletext" or the stream type as a decimal number.
    std::string StreamTypeText() const;

    bool operator==(const CStreaminfo&) const = default;

    /// Bytes of the stored record, and writing it there (for CProgramInfo,
    /// which writes a whole program in one piece).
    std::size_t StoredSize() const { return CArchive::BytesSize(Descriptors.size()) + 4; }
    std::uint8_t* Put(std::uint8_t* p) const {
        p = CArchive::PutBytes(p, Descriptors);
        p = CArchive::PutU16(p, StreamType);
        return CArchive::PutU16(p, Pid);
    }
    /// Loading without the virtual call; inline, as a program loads its
    /// streams in a loop.
    void LoadFrom(CArchive& ar) {
        ArchiveCursor in(ar);
        LoadFrom(in);
        in.Commit();
    }
    void LoadFrom(ArchiveCursor& in) {
        static constexpr std::uint8_t Fields[] = {2, 2};  // StreamType, Pid
        in.BytesInto(Descriptors);
        const std::uint8_t* p = in.Run(Fields, 4);
        StreamType = CArchive::U16At(p);
        Pid = CArchive::U16At(p + 2);
    }
};
