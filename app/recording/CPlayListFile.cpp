#include "recording/CPlayListFile.h"

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/Windows1252.h"
#include "recording/CountedFile.h"

void CPlayListEntry::Read(CArchiveReader& in) {
    fileName = Windows1252ToUtf8(in.ReadString());
    pauseSec = in.ReadU32();
    lastPlayed = ArchiveDateTime::Read(in);
    status = in.ReadU32();
    repetitions = in.ReadU32();
    powerOff = in.ReadU32();
    playLengthMs = in.ReadU32();
    reserved = in.ReadU32();
}

void CPlayListEntry::Write(CArchiveWriter& out) const {
    // A character the code page lacks becomes '?' there, as the file form can
    // hold nothing else; the list in memory keeps the real name.
    out.WriteString(Utf8ToWindows1252Lossy(fileName));
    out.WriteU32(pauseSec);
    lastPlayed.Write(out);
    out.WriteU32(status);
    out.WriteU32(repetitions);
    out.WriteU32(powerOff);
    out.WriteU32(playLengthMs);
    out.WriteU32(reserved);
}

bool CPlayListFile::Load(std::span<const std::uint8_t> bytes) {
    return CountedFile::Load(bytes, kIdentifier, CPlayListEntry::kMinStoredBytes, entries, valid_,
                             [](CPlayListEntry& e, CArchiveReader& in) { e.Read(in); });
}

std::vector<std::uint8_t> CPlayListFile::Store() const {
    return CountedFile::Store(kIdentifier, entries,
                              [](const CPlayListEntry& e, CArchiveWriter& out) { e.Write(out); });
}

std::vector<std::uint8_t> CPlayListFile::EmptyFile() { return CPlayListFile().Store(); }

void CPlayListFile::MarkAllStopped() {
    for (CPlayListEntry& e : entries) e.status = CPlayListEntry::Stopped;
}
