#include "channellist/ArchiveCursor.h"


std::uint32_t ArchiveCursor::NumberAt(const std::uint8_t* begin, const std::uint8_t* p,
                                     const std::uint8_t* end, std::size_t n) {
    if (n > static_cast<std::size_t>(end - p))
        CArchive::FailAt(static_cast<std::size_t>(p - begin), CArchive::EndOfInput);
    return n == 2 ? CArchive::U16At(p) : CArchive::U32At(p);
}

void ArchiveCursor::FailInRun(std::span<const std::uint8_t> fieldSizes, std::size_t at,
                              std::size_t size) {
    for (const std::uint8_t field : fieldSizes) {
        if (field > size - at) break;
        at += field;
    }
    CArchive::FailAt(at, CArchive::EndOfInput);
}

ArchiveCursor::Length ArchiveCursor::LongStringLength(CArchive& ar, const std::uint8_t* begin,
                                                      const std::uint8_t* p,
                                                      const std::uint8_t* end) {
    // The same forms and canonical rules as CArchive::ReadLongStringLength,
    // after its 0xFF byte.
    std::size_t length = NumberAt(begin, p, end, 2);
    p += 2;
    if (length == 0xFFFF) {
        length = NumberAt(begin, p, end, 4);
        p += 4;
        if (length < 0xFFFE) ar.MarkNonCanonical();
    } else if (length < 0xFF || length == 0xFFFE) {
        ar.MarkNonCanonical();
    }
    return {length, p};
}

ArchiveCursor::Length ArchiveCursor::LongCount(CArchive& ar, const std::uint8_t* begin,
                                               const std::uint8_t* p, const std::uint8_t* end) {
    const std::uint32_t count = NumberAt(begin, p, end, 4);
    if (count < 0xFFFF) ar.MarkNonCanonical();
    return {count, p + 4};
}
