#pragma once
// The form of the timer and playlist files: a 32-bit identifier, a 32-bit
// count and that many entries back to back, little-endian, no class tags.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"

namespace CountedFile {

/// Reads the entries with `read(entry, reader)`. `identified` tells whether
/// the identifier matched. False, with no entries, when it did not or when an
/// entry does not read; a count that more than `minEntryBytes` per entry
/// could not fill in the bytes left fails before anything is allocated.
template <class Entry, class Read>
bool Load(std::span<const std::uint8_t> bytes, std::uint32_t identifier, std::size_t minEntryBytes,
          std::vector<Entry>& entries, bool& identified, Read read) {
    entries.clear();
    identified = false;
    CArchiveReader in(bytes);
    if (in.ReadU32() != identifier || in.Failed()) return false;
    identified = true;
    const std::uint32_t count = in.ReadU32();
    if (in.Failed() || count > in.Remaining() / minEntryBytes) return false;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        Entry e;
        read(e, in);
        if (in.Failed()) return entries.clear(), false;
        entries.push_back(std::move(e));
    }
    return true;
}

/// The file of `entries`, each written with `write(entry, writer)`.
template <class Entry, class Write>
std::vector<std::uint8_t> Store(std::uint32_t identifier, const std::vector<Entry>& entries,
                                Write write) {
    std::vector<std::uint8_t> bytes;
    CArchiveWriter out(bytes);
    out.WriteU32(identifier);
    out.WriteU32(std::uint32_t(entries.size()));
    for (const Entry& e : entries) write(e, out);
    return bytes;
}

}  // namespace CountedFile
