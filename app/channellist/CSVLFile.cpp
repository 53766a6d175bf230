#include "channellist/CSVLFile.h"

#include <algorithm>
#include <unordered_map>

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

void CSVLFile::Store(CArchiveWriter& out) const {
    out.WriteU32(Reserved);
    out.WriteU32(static_cast<std::uint32_t>(Programs.size()));
    for (const auto& program : Programs) program->Store(out);
    out.WriteCount(static_cast<std::uint32_t>(Lnbs.Size()));
    for (const CLnbTable::Entry* entry : Lnbs.InHashOrder()) {
        out.WriteString(entry->key);
        out.WriteObject(entry->lnb.get());
    }
}

void CSVLFile::Load(CArchiveReader& in) {
    Clear();
    {
        const RecordArena::Scope bulk;
        Reserved = in.ReadU32();
        ProgramCount = in.ReadU32();
        // A program takes at least MinProgramBytes: one more than the bytes
        // left can hold must fail, so the loop needs no fault test per program.
        const std::size_t fit = in.Remaining() / MinProgramBytes;
        Programs.reserve(std::min<std::size_t>(ProgramCount, fit));
        const std::size_t limit = std::min<std::size_t>(ProgramCount, fit + 1);
        for (std::size_t i = 0; i < limit; ++i) {
            auto program = std::make_unique<CProgramInfo>();
            program->Load(in);
            Programs.push_back(std::move(program));
        }
    }
    LoadLnbTable(in);
    if (in.Failed()) {
        Clear();
        return;
    }
    Loaded = true;
}

void CSVLFile::LoadLnbTable(CArchiveReader& in) {
    const std::uint32_t count = in.ReadCount();
    std::vector<CLnbTable::Entry> pairs;
    pairs.reserve(std::min<std::size_t>(count, in.Remaining() / 3));
    for (std::uint32_t i = 0; i < count && !in.Failed(); ++i) {
        std::string key = in.ReadString();
        auto lnb = in.ReadObjectAs<CLnb>();
        pairs.push_back(CLnbTable::Entry{std::move(key), std::move(lnb)});
    }
    if (in.Failed()) return;
    // A later pair with the same key wins.
    std::unordered_map<std::string, std::size_t> last;
    for (std::size_t i = 0; i < pairs.size(); ++i) last[pairs[i].key] = i;
    std::vector<const CLnbTable::Entry*> unique;
    unique.reserve(last.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (last[pairs[i].key] == i)
            unique.push_back(&pairs[i]);
        else
            in.MarkNonCanonical();
    }
    // The writer emits the buckets in ascending order, each newest first.
    // Inserting every run of keys of one bucket in reverse rebuilds an
    // insertion order that stores back to the order read, and keeps the file
    // order as the table's order where keys do not share a bucket.
    Lnbs.Clear();
    for (std::size_t begin = 0; begin < unique.size();) {
        const std::uint32_t bucket = CLnbTable::Hash(unique[begin]->key) % CLnbTable::BucketCount;
        std::size_t end = begin;
        while (end < unique.size() &&
               CLnbTable::Hash(unique[end]->key) % CLnbTable::BucketCount == bucket)
            ++end;
        for (std::size_t k = end; k-- > begin;) Lnbs.Set(unique[k]->key, unique[k]->lnb);
        begin = end;
    }
    if (!in.Canonical()) return;
    const auto order = Lnbs.InHashOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->key != unique[i]->key) {
            in.MarkNonCanonical();
            break;
        }
    }
}

std::vector<std::uint8_t> CSVLFile::Store() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(10 + Programs.size() * 128 + Lnbs.Size() * 64);
    CArchiveWriter out(bytes);
    Store(out);
    return bytes;
}

bool CSVLFile::Load(std::span<const std::uint8_t> bytes, ArchiveError* error, bool* canonical) {
    CArchiveReader in(bytes);
    Load(in);
    if (in.Failed()) {
        if (error) *error = in.Error();
        if (canonical) *canonical = false;
        return false;
    }
    if (canonical) *canonical = in.Canonical() && in.Remaining() == 0;
    return true;
}
