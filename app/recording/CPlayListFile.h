#pragma once
// The playlist and its file: an identifier word 0x12345678, the number of
// entries and the entries in list order, each field in the archive encoding
// (strings length-prefixed in Windows-1252, integers little-endian 32-bit,
// no class tags). A file with another identifier holds no list.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "recording/LocalDateTime.h"

class CArchiveReader;
class CArchiveWriter;

struct CPlayListEntry {
    enum Status : std::uint32_t { Stopped = 1, Playing = 2, Finished = 4 };
    static constexpr std::uint32_t kMinRepetitions = 1;
    static constexpr std::uint32_t kMaxRepetitions = 200000000;
    static constexpr std::uint32_t kMaxPauseSec = 2000000000;
    /// Bytes of the smallest stored entry (an empty file name).
    static constexpr std::size_t kMinStoredBytes = 37;

    std::string fileName;  ///< UTF-8 here, Windows-1252 in the file
    std::uint32_t pauseSec = 0;
    ArchiveDateTime lastPlayed;
    std::uint32_t status = Stopped;
    std::uint32_t repetitions = 1;
    std::uint32_t powerOff = 0;
    std::uint32_t playLengthMs = 0;
    std::uint32_t reserved = 0;

    bool operator==(const CPlayListEntry&) const = default;

    void Read(CArchiveReader& in);
    void Write(CArchiveWriter& out) const;
};

class CPlayListFile {
  public:
    static constexpr std::uint32_t kIdentifier = 0x12345678;

    std::vector<CPlayListEntry> entries;

    /// Reads a whole file's bytes. False, with an empty list, when the
    /// identifier differs or the bytes end before the entries they announce.
    bool Load(std::span<const std::uint8_t> bytes);
    /// The identifier of the last load matched.
    bool Valid() const { return valid_; }
    std::vector<std::uint8_t> Store() const;

    /// The file of an empty list, as the program creates it.
    static std::vector<std::uint8_t> EmptyFile();

    /// Every entry "gestoppt", as after a start.
    void MarkAllStopped();

  private:
    bool valid_ = false;
};
