#include "channellist/ArchiveCursor.h"

void ArchiveCursor::FailInRun(std::span<const std::uint8_t> fieldSizes) const {
    std::size_t at = Offset();
    const std::size_t size = static_cast<std::size_t>(end_ - begin_);
    for (const std::uint8_t field : fieldSizes) {
        if (field > size - at) break;
        at += field;
    }
    CArchive::FailAt(at, CArchive::EndOfInput);
}

std::size_t ArchiveCursor::LongStringLength() {
    // The same forms and canonical rules as CArchive::ReadLongStringLength,
    // after its 0xFF byte.
    std::size_t length = U16();
    if (length == 0xFFFF) {
        length = U32();
        if (length < 0xFFFE) ar_.MarkNonCanonical();
    } else if (length < 0xFF || length == 0xFFFE) {
        ar_.MarkNonCanonical();
    }
    return length;
}

std::uint32_t ArchiveCursor::LongCount() {
    const std::uint32_t count = U32();
    if (count < 0xFFFF) ar_.MarkNonCanonical();
    return count;
}
