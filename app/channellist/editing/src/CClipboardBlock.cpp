#include "editing/CClipboardBlock.h"

#include "channellist/CArchive.h"

std::vector<std::uint8_t> CClipboardBlock::Encode(std::span<const CProgramInfo* const> programs) {
    std::vector<std::uint8_t> block;
    CArchive ar(&block);
    ar.WriteU32(static_cast<std::uint32_t>(programs.size()));
    for (const CProgramInfo* program : programs) {
        // Serialize is one function for both directions and therefore not const; storing
        // only reads the fields.
        const_cast<CProgramInfo*>(program)->Serialize(ar);
    }
    return block;
}

CClipboardBlock::Decoded CClipboardBlock::Decode(std::span<const std::uint8_t> block) {
    Decoded result;
    CArchive ar(block);
    try {
        result.declaredCount = ar.ReadU32();
        for (std::uint32_t i = 0; i < result.declaredCount; ++i) {
            auto program = std::make_unique<CProgramInfo>();
            program->Serialize(ar);
            result.programs.push_back(std::move(program));
        }
        result.complete = true;
    } catch (const CArchiveException&) {
        // A block cut short or garbled: keep what was read before the fault.
    }
    return result;
}
