#include "channellist/DvbImport.h"

#include <array>
#include <cstring>

namespace {

constexpr std::size_t NameOffset = 32;
constexpr std::size_t NameLength = 20;
constexpr std::int32_t ImportedFrontendType = 2;

struct LnbPreset {
    const char* name;
    CLnb lnb;
};

CLnb Preset(std::int32_t type, std::int32_t low, std::int32_t lowLof, std::int32_t diseqcType,
            std::int32_t diseqcParameter) {
    CLnb l;
    l.LnbType = type;
    l.LowFrequency = low;
    l.HighFrequency = 12750000;
    l.SwitchFrequency = 11700000;
    l.LowBandLof = lowLof;
    l.HighBandLof = 10600000;
    l.CBand = 0;
    l.PowerOn = 1;
    l.Tone22kHz = 1;
    l.DiseqcType = diseqcType;
    l.DiseqcParameter = diseqcParameter;
    l.DiseqcRepeat = 0;
    return l;
}

// Indexed by the two low bits of byte 15 of a program record.
const std::array<LnbPreset, 4>& Presets() {
    static const std::array<LnbPreset, 4> presets{{
        {"Astra 19\xB0", Preset(2, 11700000, 10600000, 1, 0)},
        {"Hotbird 13\xB0", Preset(3, 10700000, 9750000, 1, 1)},
        {"Universal 1", Preset(3, 10700000, 9750000, 2, 2)},
        {"Universal 2", Preset(3, 10700000, 9750000, 2, 3)},
    }};
    return presets;
}

/// One 64-byte record; offsets are constants below DvbRecordSize.
class DvbRecord {
  public:
    explicit DvbRecord(std::span<const std::uint8_t, DvbRecordSize> bytes) : b_(bytes) {}

    bool HasMagic() const { return std::memcmp(b_.data(), "DVSO", 4) == 0; }
    std::uint8_t U8(std::size_t at) const { return b_[at]; }
    std::uint16_t BE16(std::size_t at) const {
        return static_cast<std::uint16_t>((b_[at] << 8) | b_[at + 1]);
    }
    bool IsProvider() const { return BE16(8) == 0; }

    /// The name field up to its first zero byte (at most 20 bytes), without
    /// control bytes and the bytes 0x86 and 0x87.
    std::string CleanName() const {
        std::string name;
        for (std::size_t i = NameOffset; i < NameOffset + NameLength && b_[i] != 0; ++i) {
            const std::uint8_t c = b_[i];
            if (c < 0x20 || c == 0x86 || c == 0x87) continue;
            name.push_back(static_cast<char>(c));
        }
        return name;
    }

  private:
    std::span<const std::uint8_t, DvbRecordSize> b_;
};

std::unique_ptr<CProgramInfo> ProgramFrom(const DvbRecord& r, const std::string& provider) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = r.CleanName();
    p->Provider = provider;
    p->FrontendType = ImportedFrontendType;
    p->LnbName = Presets()[r.U8(15) & 0x03].name;
    p->ServiceId = r.BE16(4);
    p->PmtPid = r.BE16(6);
    p->Frequency = static_cast<std::int32_t>(r.BE16(8)) * 1000;
    p->SymbolRate = static_cast<std::int32_t>(r.BE16(10)) * 1000;
    p->PolarisationOrQam = r.U8(14);
    p->VideoPid = r.BE16(16);
    p->AudioPid = r.BE16(18);
    p->PcrPid = r.BE16(20);
    const std::uint8_t type = r.U8(27);
    p->ProgramType = type | (r.U8(22) == 1 ? CProgramInfo::EncryptedBit : 0u);
    p->NetworkId = type;
    p->TeletextPid = r.BE16(28);
    p->TransportStreamId = r.BE16(30);
    return p;
}

bool Refuse(CSVLFile& list, std::string* reason, std::string why) {
    list.Clear();
    if (reason) *reason = std::move(why);
    return false;
}

}  // namespace

void AddDvbImportLnbs(CSVLFile& list) {
    for (const auto& preset : Presets())
        list.Lnbs.Set(preset.name, std::make_shared<CLnb>(preset.lnb));
}

bool ImportDvbList(std::span<const std::uint8_t> bytes, CSVLFile& list, std::string* reason) {
    list.Clear();
    AddDvbImportLnbs(list);
    std::string provider;
    std::size_t offset = 0;
    for (; offset + DvbRecordSize <= bytes.size(); offset += DvbRecordSize) {
        const DvbRecord record(bytes.subspan(offset).first<DvbRecordSize>());
        if (!record.HasMagic())
            return Refuse(list, reason,
                          "Der Datensatz " + std::to_string(offset / DvbRecordSize + 1) +
                              " (Byte " + std::to_string(offset) + ") beginnt nicht mit \"DVSO\".");
        if (record.IsProvider())
            provider = record.CleanName();
        else
            list.InsertProgram(ProgramFrom(record, provider));
    }
    if (offset != bytes.size())
        return Refuse(
            list, reason,
            "Die Dateilänge von " + std::to_string(bytes.size()) +
                " Bytes ist kein Vielfaches von 64: der letzte Datensatz ist unvollständig.");
    return true;
}
