#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "channellist/CLnbTable.h"
#include "channellist/CProgramInfo.h"

class CArchive;

/// A format error while reading an archive: where it happened and why (German).
struct ArchiveError {
    std::size_t offset = 0;
    std::string message;
};

/// One channel list: programs in list order and the named LNB table.
class CSVLFile {
public:
    bool Loaded = false;        ///< set once filled by a load
    std::uint32_t Reserved = 0; ///< kept and written back unchanged
    std::uint32_t ProgramCount = 0;  ///< programs read on the last load
    std::vector<std::unique_ptr<CProgramInfo>> Programs;
    CLnbTable Lnbs;

    void Serialize(CArchive& ar);
    void Clear();

    CLnb* FindLnb(const std::string& name) const { return Lnbs.Find(name); }
    /// Inserts after position `after`, or at the end when `after` is npos or past the end.
    /// Returns the index of the inserted program.
    std::size_t InsertProgram(std::unique_ptr<CProgramInfo> program,
                              std::size_t after = static_cast<std::size_t>(-1));

    /// Whole-file helpers: the .svl bytes of this list, and loading from bytes.
    /// A failed load leaves the list empty (Loaded false) and fills `error`.
    std::vector<std::uint8_t> Store() const;
    bool Load(std::span<const std::uint8_t> bytes, ArchiveError* error = nullptr);
};
