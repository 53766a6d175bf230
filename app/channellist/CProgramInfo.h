#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "channellist/ByteBlock.h"
#include "channellist/CSerializable.h"
#include "channellist/CStreaminfo.h"
#include "channellist/FieldLayout.h"
#include "channellist/RecordArena.h"

/// The stream array of a program: a std::vector whose memory comes from the
/// record arena while a list loads.
using StreamList = std::vector<CStreaminfo, RecordAllocator<CStreaminfo>>;

/// Kind of a program as the lists and dialogs show it.
enum class ProgramKind { TV, Radio, Data };

/// One program (service) of a channel list. Strings hold Windows-1252 bytes.
class CProgramInfo final : public CSerializable {
  public:
    std::string Name;
    std::string Provider;
    std::int32_t FrontendType = 0;
    std::string LnbName;
    std::int32_t Frequency = 0;          ///< kHz
    std::int32_t PolarisationOrQam = 0;  ///< 0 horizontal, 1 vertical, else QAM order
    std::int32_t SymbolRate = 0;         ///< symbols per second
    std::uint32_t ProgramType = 0;       ///< kind bits 0-3, encrypted bit 16
    std::uint16_t CiAccess = 0;
    std::uint16_t TransportStreamId = 0;
    std::uint16_t NetworkId = 0;
    std::uint16_t OriginalNetworkId = 0;
    std::uint16_t ServiceId = 0;
    std::uint16_t PcrPid = 0;
    std::uint16_t PmtPid = 0;
    std::uint16_t VideoPid = 0;
    std::uint16_t AudioPid = 0;
    std::uint16_t TeletextPid = 0;
    StreamList Streams;  ///< StreamCount is Streams.size()
    ByteBlock ProgramData1;
    ByteBlock ProgramData2;

    // User-provided, so that value-initialisation (make_unique, new T())
    // does not zero the whole object before the member initialisers run:
    // a list load creates many thousand programs.
    CProgramInfo() noexcept {}

    // Programs that a list load creates come from the record arena, in
    // blocks; std::unique_ptr and delete work as for any other object.
    static void* operator new(std::size_t size) { return RecordArena::Allocate(size); }
    static void operator delete(void* p) noexcept { RecordArena::Free(p); }

    const char* ClassName() const override { return "CProgramInfo"; }
    void Load(CArchiveReader& in) override;
    void Store(CArchiveWriter& out) const override;

    /// The stored form, in file order (see FieldLayout.h).
    template <class Self, class V>
    [[gnu::always_inline]] static inline void Fields(Self& self, V v);
    /// Bytes of the stored record.
    std::size_t StoredSize() const { return layout::StoredSize(*this); }

    static constexpr std::uint32_t EncryptedBit = 0x10000;
    bool IsEncrypted() const { return (ProgramType & EncryptedBit) != 0; }
    /// Data when bits 2-3 are set, else TV when bit 0 is set, else radio.
    ProgramKind Kind() const {
        if ((ProgramType & 0x0C) != 0) return ProgramKind::Data;
        return (ProgramType & 1) ? ProgramKind::TV : ProgramKind::Radio;
    }
    /// "TV", "Radio", "Data", "TV Verschlüsselt" or "Radio Verschlüsselt" (UTF-8).
    std::string KindText() const;

    bool operator==(const CProgramInfo&) const = default;
};

/// The tuning and PID numbers between LnbName and the stream count.
using ProgramNumbers =
    layout::FixedRun<&CProgramInfo::Frequency, &CProgramInfo::PolarisationOrQam,
                     &CProgramInfo::SymbolRate, &CProgramInfo::ProgramType, &CProgramInfo::CiAccess,
                     &CProgramInfo::TransportStreamId, &CProgramInfo::NetworkId,
                     &CProgramInfo::OriginalNetworkId, &CProgramInfo::ServiceId,
                     &CProgramInfo::PcrPid, &CProgramInfo::PmtPid, &CProgramInfo::VideoPid,
                     &CProgramInfo::AudioPid, &CProgramInfo::TeletextPid>;

template <class Self, class V>
void CProgramInfo::Fields(Self& self, V v) {
    v(self.Name);
    v(self.Provider);
    v(self.FrontendType);
    v(self.LnbName);
    v(ProgramNumbers{}, self);
    v(self.Streams);  // 32-bit count, then the streams
    v(self.ProgramData1);
    v(self.ProgramData2);
}
