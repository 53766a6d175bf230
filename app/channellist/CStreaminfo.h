#pragma once
#include <cstdint>
#include <string>

#include "channellist/ByteBlock.h"
#include "channellist/CSerializable.h"
#include "channellist/FieldLayout.h"

/// One elementary stream of a program.
class CStreaminfo final : public CSerializable {
  public:
    ByteBlock Descriptors;         ///< descriptor loop as in the PMT (tag, length, payload)...
    std::uint16_t StreamType = 0;  ///< MPEG stream type
    std::uint16_t Pid = 0;         ///< elementary PID

    // User-provided, so that value-initialisation does not zero the object
    // before the member initialisers run (see CProgramInfo).
    CStreaminfo() noexcept {}

    const char* ClassName() const override { return "CStreaminfo"; }
    // Inline: a program loads and stores its streams in a loop.
    void Load(CArchiveReader& in) override { layout::Load(*this, in); }
    void Store(CArchiveWriter& out) const override { layout::Store(*this, out); }

    /// The stored form, in file order.
    template <class Self, class V>
    [[gnu::always_inline]] static inline void Fields(Self& self, V v);

    /// Bytes of the stored record, and writing it there (for CProgramInfo,
    /// which writes a whole program in one piece).
    std::size_t StoredSize() const { return layout::StoredSize(*this); }
    std::uint8_t* Put(std::uint8_t* p) const { return layout::Put(*this, p); }
    /// Smallest stored stream: empty descriptor block, type and PID.
    static constexpr std::size_t MinStoredBytes = 6;
    static constexpr const char* NegativeCountMessage = "Negative Anzahl von Streams";

    /// Three-letter ISO 639 code of the first language descriptor (tag 0x0A), or "" when none.
    std::string LanguageCode() const;
    /// "Video", "Audio", "Teletext" or the stream type as a decimal number.
    std::string StreamTypeText() const;

    bool operator==(const CStreaminfo&) const = default;
};

/// The numbers after a stream's descriptor block.
using StreamNumbers = layout::FixedRun<&CStreaminfo::StreamType, &CStreaminfo::Pid>;

template <class Self, class V>
void CStreaminfo::Fields(Self& self, V v) {
    v(self.Descriptors);
    v(StreamNumbers{}, self);
}
