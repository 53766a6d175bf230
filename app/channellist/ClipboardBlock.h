#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "channellist/CProgramInfo.h"
#include "channellist/CSVLFile.h"

/// MIME type of the clipboard format "SVL-Programmliste" (Qt maps it to the
/// registered Windows clipboard format of that name).
inline constexpr const char* ClipboardMimeType =
    "application/x-qt-windows-mime;value=\"SVL-Programmliste\"";

/// The clipboard block of copied programs: the number N of programs as a
/// 32-bit little-endian value, then N program records in the encoding of the
/// .svl file, without object tags. Null entries are left out, and N counts
/// only the programs actually written, so the block never promises more
/// records than it holds.
std::vector<std::uint8_t> EncodeClipboardBlock(std::span<const CProgramInfo* const> programs);

/// What a clipboard block holds.
struct DecodedClipboardBlock {
    /// The programs read, in block order: all N, or those before the point
    /// where the block ended early or was malformed.
    std::vector<std::unique_ptr<CProgramInfo>> programs;
    std::uint32_t declaredCount = 0;  ///< N as the block states it
    bool complete = false;            ///< all N programs were read
    ArchiveError error;               ///< where and why reading stopped, when not complete
};

/// Reads a clipboard block, bounds-checked. Bytes after the N records are
/// ignored (clipboard memory may be larger than the data put into it).
DecodedClipboardBlock DecodeClipboardBlock(std::span<const std::uint8_t> bytes);
