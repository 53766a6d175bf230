#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/CLnbTable.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CSerializable.h"

/// One channel list: programs in list order and the named LNB table.
class CSVLFile : public CSerializable {
  public:
    bool Loaded = false;             ///< set once filled by a load
    std::uint32_t Reserved = 0;      ///< kept and written back unchanged
    std::uint32_t ProgramCount = 0;  ///< programs read on the last load
    std::vector<std::unique_ptr<CProgramInfo>> Programs;
    CLnbTable Lnbs;

    CSVLFile() = default;
    CSVLFile(CSVLFile&&) = default;
    CSVLFile& operator=(CSVLFile&&) = default;

    const char* ClassName() const override { return "CSVLFile"; }
    /// Loads the whole list; after a format error (left in the reader) the
    /// list is empty.
    void Load(CArchiveReader& in) override;
    void Store(CArchiveWriter& out) const override;
    /// Deletes every program and LNB object and sets Loaded to false.
    void Clear();

    CLnb* FindLnb(const std::string& name) const { return Lnbs.Find(name); }
    /// Inserts after position `after`, or at the end when `after` is npos or past the end.
    /// Returns the index of the inserted program.
    std::size_t InsertProgram(std::unique_ptr<CProgramInfo> program,
                              std::size_t after = static_cast<std::size_t>(-1));

    /// Whole-file helpers: the .svl bytes of this list, and loading from bytes.
    /// A failed load leaves the list empty (Loaded false) and fills `error`.
    /// `canonical` tells whether storing the loaded list gives back exactly
    /// `bytes` (false for encodings this writer never produces, such as a
    /// long length form for a short string, LNB pairs out of the writer's
    /// order, or bytes after the list).
    std::vector<std::uint8_t> Store() const;
    bool Load(std::span<const std::uint8_t> bytes, ArchiveError* error = nullptr,
              bool* canonical = nullptr);

  private:
    void LoadLnbTable(CArchiveReader& in);
};
