// The PSI decoder's table steps on arbitrary sections. The input is split into
// sections by a leading 2-byte length each; all of them are one association
// table, each is a program map (of a program made known first, so that the
// map is read through), and all of them are one service table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kestrel/src/PsiTables.h"  // the library's inside, as the tests use it

namespace {

// Touches every byte it is given, so that a read past a section shows.
class SinkWriter : public kestrel::psi::IKeyWriter {
  public:
    void Dword(const std::string& key, const std::string& name, std::uint32_t value) override {
        sum_ += key.size() + name.size() + value;
    }
    void String(const std::string& key, const std::string& name,
                const std::string& value) override {
        for (const char c : value) sum_ += static_cast<unsigned char>(c);
        sum_ += key.size() + name.size();
    }
    void Binary(const std::string& key, const std::string& name,
                kestrel::psi::Bytes value) override {
        for (const auto b : value) sum_ += b;
        sum_ += key.size() + name.size();
    }

    std::size_t Sum() const { return sum_; }

  private:
    std::size_t sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::vector<std::uint8_t>> sections;  // exact sizes for ASan
    for (std::size_t pos = 0; pos + 2 <= size && sections.size() < 64;) {
        const std::size_t n = std::min<std::size_t>(data[pos] << 8 | data[pos + 1], size - pos - 2);
        pos += 2;
        sections.emplace_back(data + pos, data + pos + n);
        pos += n;
    }
    const std::vector<kestrel::psi::Bytes> spans(sections.begin(), sections.end());
    SinkWriter out;
    kestrel::psi::ProgramSlots slots;
    kestrel::psi::DecodeAssociation(spans, slots, out);
    for (const auto& s : sections) {
        if (s.size() >= 5 && slots.programs.size() < kestrel::psi::kMaxPrograms)
            slots.programs.push_back({static_cast<std::uint16_t>(s[3] << 8 | s[4]), 0x100});
        kestrel::psi::DecodeProgramMap(s, slots, out);
        slots.TakeNext();
    }
    slots.MapFilterCount(5);
    kestrel::psi::DecodeServiceTable(spans, slots, out);
    volatile std::size_t sink = out.Sum();
    (void)sink;
    return 0;
}
