#include "channellist/CArchive.h"

#include <cstring>

#include "channellist/CClassRegistry.h"

namespace {
constexpr std::uint16_t NullTag = 0x0000;
constexpr std::uint16_t BigTag = 0x7FFF;
constexpr std::uint16_t NewClassTag = 0xFFFF;
constexpr std::uint16_t ClassTagBit = 0x8000;
constexpr std::uint32_t BigClassBit = 0x80000000u;
constexpr std::uint32_t MaxIndex = 0x7FFFFFFEu;
}  // namespace

CArchive::CArchive(std::span<const std::uint8_t> input) : in_(input) {
    slots_.emplace_back();  // index 0 is the null reference
}

CArchive::CArchive(std::vector<std::uint8_t>* output) : out_(output), outBase_(output->size()) {}

void CArchive::FailAt(std::size_t offset, const std::string& message) {
    throw CArchiveException(offset, message);
}

// ---------------------------------------------------------------- storing

std::uint8_t* CArchive::PutLongLength(std::uint8_t* p, std::size_t n) {
    *p++ = 0xFF;
    if (n < 0xFFFE) return PutU16(p, static_cast<std::uint16_t>(n));
    p = PutU16(p, 0xFFFF);
    return PutU32(p, static_cast<std::uint32_t>(n));
}

void CArchive::WriteCount(std::uint32_t n) {
    if (n < 0xFFFF) {
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        WriteU16(0xFFFF);
        WriteU32(n);
    }
}

void CArchive::WriteString(std::string_view s) {
    const std::size_t n = s.size();
    if (n < 0xFF) {
        WriteU8(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteU8(0xFF);
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        WriteU8(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<std::uint32_t>(n));
    }
    WriteRaw(s.data(), n);
}

void CArchive::WriteBytes(std::span<const std::uint8_t> block) {
    WriteCount(static_cast<std::uint32_t>(block.size()));
    WriteRaw(block.data(), block.size());
}

void CArchive::WriteObject(const CSerializable* object) {
    if (!object) {
        WriteU16(NullTag);
        return;
    }
    if (auto it = writtenObjects_.find(object); it != writtenObjects_.end()) {
        const std::uint32_t index = it->second;
        if (index < BigTag) {
            WriteU16(static_cast<std::uint16_t>(index));
        } else {
            WriteU16(BigTag);
            WriteU32(index);
        }
        return;
    }
    WriteNewObjectTag(*object);
    writtenObjects_.emplace(object, nextIndex_++);
    // Storing does not change the object; Serialize serves both directions.
    const_cast<CSerializable*>(object)->Serialize(*this);
}

void CArchive::WriteNewObjectTag(const CSerializable& object) {
    const std::string name = object.ClassName();
    auto it = writtenClasses_.find(name);
    if (it == writtenClasses_.end()) {
        WriteU16(NewClassTag);
        WriteU16(Schema);
        WriteU16(static_cast<std::uint16_t>(name.size()));
        WriteRaw(name.data(), name.size());
        writtenClasses_.emplace(name, nextIndex_++);
        return;
    }
    const std::uint32_t classIndex = it->second;
    if (classIndex < BigTag) {
        WriteU16(static_cast<std::uint16_t>(ClassTagBit | classIndex));
    } else {
        WriteU16(BigTag);
        WriteU32(BigClassBit | classIndex);
    }
}

// ---------------------------------------------------------------- loading

std::uint32_t CArchive::ReadLongCount() {
    const std::uint32_t count = ReadU32();
    if (count < 0xFFFF) MarkNonCanonical();
    return count;
}

std::size_t CArchive::ReadLongStringLength() {
    std::size_t length = ReadU8();
    if (length != 0xFF) return length;
    length = ReadU16();
    if (length == 0xFFFF) {
        length = ReadU32();
        if (length < 0xFFFE) MarkNonCanonical();
    } else if (length < 0xFF || length == 0xFFFE) {
        // 0xFFFE fits the 16-bit form by value but the writer uses the long form for it.
        MarkNonCanonical();
    }
    return length;
}

std::string CArchive::ReadString() {
    std::string s;
    ReadStringInto(s);
    return s;
}

ByteBlock CArchive::ReadBytes() {
    ByteBlock b;
    ReadBytesInto(b);
    return b;
}

std::uint32_t CArchive::TakeIndex() {
    if (nextIndex_ > MaxIndex) Fail("Zu viele Objekte im Archiv");
    slots_.emplace_back();
    return nextIndex_++;
}

std::shared_ptr<CSerializable> CArchive::ReadObject() {
    const std::size_t tagOffset = pos_;
    const std::uint16_t tag = ReadU16();
    if (tag == NullTag) return nullptr;
    if (tag == NewClassTag) return ReadNewClassAndObject();
    if (tag == BigTag) {
        const std::uint32_t value = ReadU32();
        if (value & BigClassBit) {
            const std::uint32_t classIndex = value & ~BigClassBit;
            if (classIndex < BigTag) MarkNonCanonical();
            return ReadNewObject(classIndex, tagOffset);
        }
        if (value < BigTag) MarkNonCanonical();
        return ResolveReference(value, tagOffset);
    }
    if (tag & ClassTagBit) return ReadNewObject(tag & ~ClassTagBit, tagOffset);
    return ResolveReference(tag, tagOffset);
}

std::shared_ptr<CSerializable> CArchive::ReadNewClassAndObject() {
    const std::size_t descriptionOffset = pos_;
    const std::uint16_t schema = ReadU16();
    const std::uint16_t nameLength = ReadU16();
    if (nameLength > MaxClassNameLength)
        FailAt(descriptionOffset + 2,
               "Klassenname zu lang (" + std::to_string(nameLength) + " Bytes)");
    auto nameBytes = ReadRaw(nameLength);
    std::string name(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size());
    if (schema != Schema)
        FailAt(descriptionOffset, "Falsche Schemanummer " + std::to_string(schema) +
                                      " der Klasse \"" + name + "\"");
    if (!CClassRegistry::Contains(name))
        FailAt(descriptionOffset + 4, "Unbekannte Klasse \"" + name + "\"");
    if (!describedClasses_.insert(name).second) MarkNonCanonical();
    const std::uint32_t classIndex = TakeIndex();
    slots_[classIndex].className = std::move(name);
    return ReadNewObject(classIndex, descriptionOffset - 2);
}

std::shared_ptr<CSerializable> CArchive::ReadNewObject(std::uint32_t classIndex,
                                                       std::size_t tagOffset) {
    if (classIndex == 0 || classIndex >= slots_.size() || slots_[classIndex].className.empty())
        FailAt(tagOffset, "Ungültiger Klassenverweis " + std::to_string(classIndex));
    if (depth_ >= MaxObjectDepth) FailAt(tagOffset, "Objekte zu tief verschachtelt");
    std::shared_ptr<CSerializable> object = CClassRegistry::Create(slots_[classIndex].className);
    if (!object) FailAt(tagOffset, "Unbekannte Klasse \"" + slots_[classIndex].className + "\"");
    const std::uint32_t objectIndex = TakeIndex();
    slots_[objectIndex].object = object;
    ++depth_;
    try {
        object->Serialize(*this);
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
    return object;
}

std::shared_ptr<CSerializable> CArchive::ResolveReference(std::uint32_t index,
                                                          std::size_t tagOffset) {
    if (index >= slots_.size() || !slots_[index].object)
        FailAt(tagOffset, "Ungültiger Objektverweis " + std::to_string(index));
    return slots_[index].object;
}
