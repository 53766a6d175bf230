#include "channellist/CSVLFile.h"

#include <algorithm>
#include <unordered_set>

#include "channellist/CArchive.h"

namespace {
// Smallest stored program: three empty strings, seven 32-bit and ten 16-bit
// numbers, a stream count and two empty byte blocks.
constexpr std::size_t MinProgramBytes = 3 + 4 * 4 + 4 + 20 + 4 + 2 + 2;
}  // namespace

void CSVLFile::Clear() {
    Programs.clear();
    Lnbs.Clear();
    ProgramCount = 0;
    Loaded = false;
}

std::size_t CSVLFile::InsertProgram(std::unique_ptr<CProgramInfo> program, std::size_t after) {
    if (after >= Programs.size() || after + 1 >= Programs.size()) {
        Programs.push_back(std::move(program));
        return Programs.size() - 1;
    }
    Programs.insert(Programs.begin() + static_cast<std::ptrdiff_t>(after + 1), std::move(program));
    return after + 1;
}

void CSVLFile::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        StoreTo(ar);
        return;
    }
    try {
        LoadFrom(ar);
    } catch (const CArchiveException&) {
        Clear();
        throw;
    }
}

void CSVLFile::StoreTo(CArchive& ar) const {
    ar.WriteU32(Reserved);
    ar.WriteU32(static_cast<std::uint32_t>(Programs.size()));
    for (const auto& program : Programs) program->Serialize(ar);
    ar.WriteCount(static_cast<std::uint32_t>(Lnbs.Size()));
    for (const CLnbTable::Entry* entry : Lnbs.InHashOrder()) {
        ar.WriteString(entry->key);
        ar.WriteObject(entry->lnb.get());
    }
}

void CSVLFile::LoadFrom(CArchive& ar) {
    if (Loaded) Clear();
    Reserved = ar.ReadU32();
    ProgramCount = ar.ReadU32();
    Programs.clear();
    Programs.reserve(std::min<std::size_t>(ProgramCount, ar.Remaining() / MinProgramBytes));
    for (std::uint32_t i = 0; i < ProgramCount; ++i) {
        auto program = std::make_unique<CProgramInfo>();
        program->Serialize(ar);
        Programs.push_back(std::move(program));
    }
    LoadLnbTable(ar);
    Loaded = true;
}

void CSVLFile::LoadLnbTable(CArchive& ar) {
    const std::uint32_t count = ar.ReadCount();
    std::vector<CLnbTable::Entry> pairs;
    pairs.reserve(std::min<std::size_t>(count, ar.Remaining() / 3));
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string key = ar.ReadString();
        auto lnb = ar.ReadObjectAs<CLnb>();
        pairs.push_back(CLnbTable::Entry{std::move(key), std::move(lnb)});
    }
    // The writer emits each bucket newest first. Inserting the pairs in
    // reverse file order rebuilds that insertion order, so storing the list
    // again writes the pairs in the order they were read. A later pair with
    // the same key wins.
    Lnbs.Clear();
    std::unordered_set<std::string> seen;
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) {
        if (seen.insert(it->key).second) {
            Lnbs.Set(it->key, it->lnb);
        } else {
            ar.MarkNonCanonical();
        }
    }
    if (!ar.Canonical()) return;
    const auto order = Lnbs.InHashOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->key != pairs[i].key) {
            ar.MarkNonCanonical();
            break;
        }
    }
}

std::vector<std::uint8_t> CSVLFile::Store() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(10 + Programs.size() * 128 + Lnbs.Size() * 64);
    CArchive ar(&bytes);
    StoreTo(ar);
    return bytes;
}

bool CSVLFile::Load(std::span<const std::uint8_t> bytes, ArchiveError* error, bool* canonical) {
    CArchive ar(bytes);
    try {
        Serialize(ar);
    } catch (const CArchiveException& e) {
        if (error) *error = ArchiveError{e.Offset(), e.Message()};
        if (canonical) *canonical = false;
        return false;
    }
    if (canonical) *canonical = ar.Canonical() && ar.Remaining() == 0;
    return true;
}
