#include "channellist/ClipboardBlock.h"

#include "channellist/CArchive.h"

std::vector<std::uint8_t> EncodeClipboardBlock(std::span<const CProgramInfo* const> programs) {
    std::uint32_t count = 0;
    for (const CProgramInfo* p : programs) count += p ? 1 : 0;
    std::vector<std::uint8_t> bytes;
    CArchive ar(&bytes);
    ar.WriteU32(count);
    for (const CProgramInfo* p : programs)
        if (p) const_cast<CProgramInfo*>(p)->Serialize(ar);  // storing does not change it
    return bytes;
}

DecodedClipboardBlock DecodeClipboardBlock(std::span<const std::uint8_t> bytes) {
    DecodedClipboardBlock block;
    CArchive ar(bytes);
    try {
        block.declaredCount = ar.ReadU32();
        for (std::uint32_t i = 0; i < block.declaredCount; ++i) {
            auto program = std::make_unique<CProgramInfo>();
            program->Serialize(ar);
            block.programs.push_back(std::move(program));
        }
        block.complete = true;
    } catch (const CArchiveException& e) {
        block.error = ArchiveError{e.Offset(), e.Message()};
    }
    return block;
}
