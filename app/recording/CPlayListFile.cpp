#include "recording/CPlayListFile.h"

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/Windows1252.h"

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
    entries.clear();
    valid_ = false;
    CArchiveReader in(bytes);
    if (in.ReadU32() != kIdentifier || in.Failed()) return false;
    valid_ = true;
    const std::uint32_t count = in.ReadU32();
    // Each entry takes at least 37 bytes: no count can promise more than that.
    if (in.Failed() || count > in.Remaining() / 37) return entries.clear(), false;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        CPlayListEntry e;
        e.Read(in);
        if (in.Failed()) return entries.clear(), false;
        entries.push_back(std::move(e));
    }
    return true;
}

std::vector<std::uint8_t> CPlayListFile::Store() const {
    std::vector<std::uint8_t> bytes;
    CArchiveWriter out(bytes);
    out.WriteU32(kIdentifier);
    out.WriteU32(std::uint32_t(entries.size()));
    for (const CPlayListEntry& e : entries) e.Write(out);
    return bytes;
}

std::vector<std::uint8_t> CPlayListFile::EmptyFile() { return CPlayListFile().Store(); }

void CPlayListFile::MarkAllStopped() {
    for (CPlayListEntry& e : entries) e.status = CPlayListEntry::Stopped;
}
