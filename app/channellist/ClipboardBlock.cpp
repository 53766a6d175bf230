#include "channellist/ClipboardBlock.h"

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"

std::vector<std::uint8_t> EncodeClipboardBlock(std::span<const CProgramInfo* const> programs) {
    std::uint32_t count = 0;
    for (const CProgramInfo* p : programs) count += p ? 1 : 0;
    std::vector<std::uint8_t> bytes;
    CArchiveWriter out(bytes);
    out.WriteU32(count);
    for (const CProgramInfo* p : programs)
        if (p) p->Store(out);
    return bytes;
}

DecodedClipboardBlock DecodeClipboardBlock(std::span<const std::uint8_t> bytes) {
    DecodedClipboardBlock block;
    CArchiveReader in(bytes);
    block.declaredCount = in.ReadU32();
    for (std::uint32_t i = 0; i < block.declaredCount && !in.Failed(); ++i) {
        auto program = std::make_unique<CProgramInfo>();
        program->Load(in);
        if (in.Failed()) break;
        block.programs.push_back(std::move(program));
    }
    block.complete = !in.Failed();
    if (!block.complete) block.error = in.Error();
    return block;
}
