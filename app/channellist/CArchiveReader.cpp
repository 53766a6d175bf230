#include "channellist/CArchiveReader.h"

#include "channellist/ArchiveTags.h"
#include "channellist/CClassRegistry.h"
#include "channellist/CSerializable.h"

namespace {
constexpr std::uint32_t MaxIndex = 0x7FFFFFFEu;

// What a fixed run reads as after a fault.
constexpr std::uint8_t Zeros[CArchiveReader::MaxFixedRun] = {};
}  // namespace

CArchiveReader::CArchiveReader(std::span<const std::uint8_t> input)
    : begin_(input.data()), p_(input.data()), end_(input.data() + input.size()) {
    slots_.emplace_back();
}

CArchiveReader::~CArchiveReader() = default;

void CArchiveReader::FailAt(std::size_t offset, std::string_view message) {
    if (!failed_) {
        failed_ = true;
        error_ = ArchiveError{offset, std::string(message)};
    }
    p_ = end_;
}

const std::uint8_t* CArchiveReader::FailInRun(std::span<const std::uint8_t> widths) {
    std::size_t at = Offset();
    const std::size_t size = static_cast<std::size_t>(end_ - begin_);
    for (const std::uint8_t width : widths) {
        if (width > size - at) break;
        at += width;
    }
    FailAt(at, EndOfInput);
    return Zeros;
}

void CArchiveReader::FailWrongClass(std::size_t at, const char* className) {
    FailAt(at, std::string("Objekt der falschen Klasse \"") + className + "\"");
}

std::uint32_t CArchiveReader::ReadLongCount() {
    const std::uint32_t count = ReadU32();
    if (count < 0xFFFF && !failed_) MarkNonCanonical();
    return count;
}

std::size_t CArchiveReader::ReadLongStringLength() {
    std::size_t length = ReadU8();
    if (length != 0xFF) return length;
    length = ReadU16();
    if (length == 0xFFFF) {
        length = ReadU32();
        if (length < 0xFFFE && !failed_) MarkNonCanonical();
    } else if ((length < 0xFF || length == 0xFFFE) && !failed_) {
        // 0xFFFE fits the 16-bit form by value but the writer uses the long form for it.
        MarkNonCanonical();
    }
    return length;
}

std::uint32_t CArchiveReader::TakeIndex() {
    if (nextIndex_ > MaxIndex) {
        Fail("Zu viele Objekte im Archiv");
        return 0;
    }
    slots_.emplace_back();
    return nextIndex_++;
}

std::shared_ptr<CSerializable> CArchiveReader::ReadObject() {
    const std::size_t tagOffset = Offset();
    const std::uint16_t tag = ReadU16();
    if (failed_ || tag == ArchiveTag::Null) return nullptr;
    if (tag == ArchiveTag::NewClass) return ReadNewClassAndObject(tagOffset);
    if (tag == ArchiveTag::Big) {
        const std::uint32_t value = ReadU32();
        if (failed_) return nullptr;
        if (value & ArchiveTag::BigClassBit) {
            const std::uint32_t classIndex = value & ~ArchiveTag::BigClassBit;
            if (classIndex < ArchiveTag::Big) MarkNonCanonical();
            return ReadNewObject(classIndex, tagOffset);
        }
        if (value < ArchiveTag::Big) MarkNonCanonical();
        return ResolveReference(value, tagOffset);
    }
    if (tag & ArchiveTag::ClassBit) return ReadNewObject(tag & ~ArchiveTag::ClassBit, tagOffset);
    return ResolveReference(tag, tagOffset);
}

std::shared_ptr<CSerializable> CArchiveReader::ReadNewClassAndObject(std::size_t tagOffset) {
    const std::size_t descriptionOffset = Offset();
    const std::uint16_t schema = ReadU16();
    const std::uint16_t nameLength = ReadU16();
    if (failed_) return nullptr;
    if (nameLength > MaxClassNameLength) {
        FailAt(descriptionOffset + 2,
               "Klassenname zu lang (" + std::to_string(nameLength) + " Bytes)");
        return nullptr;
    }
    const auto nameBytes = ReadRaw(nameLength);
    if (failed_) return nullptr;
    std::string name(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size());
    if (schema != Schema) {
        FailAt(descriptionOffset,
               "Falsche Schemanummer " + std::to_string(schema) + " der Klasse \"" + name + "\"");
        return nullptr;
    }
    if (!CClassRegistry::Contains(name)) {
        FailAt(descriptionOffset + 4, "Unbekannte Klasse \"" + name + "\"");
        return nullptr;
    }
    if (!describedClasses_.insert(name).second) MarkNonCanonical();
    const std::uint32_t classIndex = TakeIndex();
    if (failed_) return nullptr;
    slots_[classIndex].className = std::move(name);
    return ReadNewObject(classIndex, tagOffset);
}

std::shared_ptr<CSerializable> CArchiveReader::ReadNewObject(std::uint32_t classIndex,
                                                             std::size_t tagOffset) {
    if (classIndex == 0 || classIndex >= slots_.size() || slots_[classIndex].className.empty()) {
        FailAt(tagOffset, "Ungültiger Klassenverweis " + std::to_string(classIndex));
        return nullptr;
    }
    if (depth_ >= MaxObjectDepth) {
        FailAt(tagOffset, "Objekte zu tief verschachtelt");
        return nullptr;
    }
    std::shared_ptr<CSerializable> object = CClassRegistry::Create(slots_[classIndex].className);
    if (!object) {
        FailAt(tagOffset, "Unbekannte Klasse \"" + slots_[classIndex].className + "\"");
        return nullptr;
    }
    const std::uint32_t objectIndex = TakeIndex();
    if (failed_) return nullptr;
    slots_[objectIndex].object = object;
    ++depth_;
    object->Load(*this);
    --depth_;
    if (failed_) return nullptr;
    return object;
}

std::shared_ptr<CSerializable> CArchiveReader::ResolveReference(std::uint32_t index,
                                                                std::size_t tagOffset) {
    if (index >= slots_.size() || !slots_[index].object) {
        FailAt(tagOffset, "Ungültiger Objektverweis " + std::to_string(index));
        return nullptr;
    }
    return slots_[index].object;
}
