#include "channellist/CArchiveWriter.h"

#include "channellist/ArchiveTags.h"

CArchiveWriter::CArchiveWriter(std::vector<std::uint8_t>& out) : out_(out), base_(out.size()) {}

CArchiveWriter::~CArchiveWriter() = default;

void CArchiveWriter::WriteCount(std::uint32_t n) {
    std::uint8_t b[6];
    WriteRaw(b, static_cast<std::size_t>(PutCount(b, n) - b));
}

void CArchiveWriter::WriteString(std::string_view s) { PutString(Extend(StringSize(s.size())), s); }

void CArchiveWriter::WriteBytes(std::span<const std::uint8_t> block) {
    PutBytes(Extend(BytesSize(block.size())), block);
}

void CArchiveWriter::WriteObject(const CSerializable* object) {
    if (!object) {
        WriteU16(ArchiveTag::Null);
        return;
    }
    if (auto it = writtenObjects_.find(object); it != writtenObjects_.end()) {
        const std::uint32_t index = it->second;
        if (index < ArchiveTag::Big) {
            WriteU16(static_cast<std::uint16_t>(index));
        } else {
            WriteU16(ArchiveTag::Big);
            WriteU32(index);
        }
        return;
    }
    WriteNewObjectTag(*object);
    writtenObjects_.emplace(object, nextIndex_++);
    object->Store(*this);
}

void CArchiveWriter::WriteNewObjectTag(const CSerializable& object) {
    const std::string name = object.ClassName();
    auto it = writtenClasses_.find(name);
    if (it == writtenClasses_.end()) {
        WriteU16(ArchiveTag::NewClass);
        WriteU16(Schema);
        WriteU16(static_cast<std::uint16_t>(name.size()));
        WriteRaw(name.data(), name.size());
        writtenClasses_.emplace(name, nextIndex_++);
        return;
    }
    const std::uint32_t classIndex = it->second;
    if (classIndex < ArchiveTag::Big) {
        WriteU16(static_cast<std::uint16_t>(ArchiveTag::ClassBit | classIndex));
    } else {
        WriteU16(ArchiveTag::Big);
        WriteU32(ArchiveTag::BigClassBit | classIndex);
    }
}
