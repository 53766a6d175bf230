// The section decoder against real broadcasts (the test-data folder, see its
// PROVENANCE.md): every event an independent reader finds, the same start,
// duration and name; a flipped byte costs exactly its section; real names
// with umlauts and accents in their UTF-8 form.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "IndependentEit.h"
#include "guide/EitSection.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/TsPacket.h"

namespace {

using independent::Bytes;

constexpr const char* kGermany = "petrj-mpegts_de-dvbt2-626mhz-eit-schedule.ts";
constexpr const char* kFragments[] = {
    "fragments/petrj-mpegts_Austria_EIT.AU.ts", "fragments/petrj-mpegts_France_EIT.FR.2.ts",
    "fragments/petrj-mpegts_Poland_EIT.PL2.ts", "fragments/petrj-mpegts_Slovakia_EIT.SK.2.ts"};

std::string PathOf(const char* name) { return std::string(SVL_TESTDATA_DIR) + "/" + name; }

#define READ_OR_SKIP(var, name)                            \
    const Bytes var = independent::ReadFile(PathOf(name)); \
    if (var.empty()) GTEST_SKIP() << "capture not found: " << PathOf(name)

// An event once per table kind (present/following or schedule), network,
// transport stream, service and event id, as the carousel repeats it.
using Key = std::tuple<bool, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t>;

// What the code under test decodes: the assembler over PID 0x12, the parser.
std::vector<EitSection> Decode(const Bytes& ts) {
    std::vector<EitSection> out;
    mpegts::SectionAssembler assembler;
    for (std::size_t off = 0; off + 188 <= ts.size(); off += 188) {
        const auto bytes = std::span<const std::uint8_t>(ts).subspan(off, 188);
        const auto packet = mpegts::TsPacket::View(bytes);
        if (!packet || packet->Pid() != 0x12) continue;
        assembler.Feed(bytes, [&](std::span<const std::uint8_t> s) {
            if (auto section = ParseEitSection(s)) out.push_back(std::move(*section));
        });
    }
    return out;
}

std::map<Key, independent::Event> IndependentEvents(const Bytes& ts, std::size_t* sections) {
    std::map<Key, independent::Event> out;
    *sections = 0;
    for (const auto& s : independent::SectionsOf(ts, 0x12)) {
        const auto events = independent::EventsOf(s);
        if (s.crcOk && s.bytes[0] >= 0x4E && s.bytes[0] <= 0x6F) ++*sections;
        for (const auto& e : events)
            out.try_emplace(Key{e.table < 0x50, e.onid, e.tsid, e.sid, e.eid}, e);
    }
    return out;
}

// The name when it is plain ASCII, after a selector of an ISO 8859 part if
// there is one; empty otherwise.
std::string PlainAscii(const Bytes& name) {
    const std::size_t from = !name.empty() && name[0] >= 0x01 && name[0] <= 0x0B ? 1 : 0;
    for (std::size_t i = from; i < name.size(); ++i)
        if (name[i] < 0x20 || name[i] > 0x7E) return {};
    return std::string(name.begin() + std::ptrdiff_t(from), name.end());
}

// Same events, starts, durations, and the same names where they are plain ASCII.
// Returns the number of names compared.
std::size_t ExpectSameEvents(const Bytes& ts, const char* name) {
    std::size_t independentSections = 0;
    const auto expected = IndependentEvents(ts, &independentSections);
    const auto sections = Decode(ts);
    EXPECT_EQ(sections.size(), independentSections) << name;
    std::map<Key, const EitEvent*> found;
    for (const EitSection& s : sections)
        for (const EitEvent& e : s.events)
            found.try_emplace(Key{s.IsPresentFollowing(), s.originalNetworkId, s.transportStreamId,
                                  s.serviceId, e.eventId},
                              &e);
    EXPECT_EQ(found.size(), expected.size()) << name;
    std::size_t names = 0;
    for (const auto& [key, want] : expected) {
        const auto it = found.find(key);
        if (it == found.end()) {
            ADD_FAILURE() << name << ": service " << std::get<3>(key) << " event "
                          << std::get<4>(key) << " missing";
            continue;
        }
        const EitEvent& got = *it->second;
        EXPECT_EQ(std::uint64_t(got.mjd) << 24 | got.startBcd, want.start) << got.eventId;
        EXPECT_EQ(got.durationBcd, want.duration) << got.eventId;
        if (const std::string ascii = PlainAscii(want.name); !ascii.empty()) {
            EXPECT_EQ(got.name, ascii);
            ++names;
        }
    }
    return names;
}

TEST(EitCapture, GermanScheduleHasEveryEventTheIndependentReaderFinds) {
    READ_OR_SKIP(ts, kGermany);
    std::size_t sections = 0;
    const auto expected = IndependentEvents(ts, &sections);
    EXPECT_EQ(expected.size(), 5339u);  // as PROVENANCE.md counts them
    std::set<std::uint8_t> tables;
    for (const auto& [key, e] : expected) tables.insert(e.table);
    EXPECT_EQ(tables,
              (std::set<std::uint8_t>{0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x60, 0x61}));
    EXPECT_GT(ExpectSameEvents(ts, kGermany), 500u);
}

TEST(EitCapture, FragmentsHaveEveryEventTheIndependentReaderFinds) {
    for (const char* name : kFragments) {
        READ_OR_SKIP(ts, name);
        std::size_t sections = 0;
        EXPECT_FALSE(IndependentEvents(ts, &sections).empty()) << name;
        ExpectSameEvents(ts, name);
    }
}

// A section as a comparable record: where it belongs and its events.
using SectionId =
    std::tuple<std::uint8_t, std::uint16_t, std::uint8_t, std::uint8_t, std::vector<std::uint16_t>>;

std::vector<SectionId> Ids(const std::vector<EitSection>& sections) {
    std::vector<SectionId> out;
    for (const EitSection& s : sections) {
        std::vector<std::uint16_t> events;
        for (const EitEvent& e : s.events) events.push_back(e.eventId);
        out.emplace_back(s.tableId, s.serviceId, s.sectionNumber, s.version, events);
    }
    return out;
}

TEST(EitCapture, OneFlippedByteDropsExactlyItsSection) {
    READ_OR_SKIP(ts, kGermany);
    const auto original = Decode(ts);
    // The 300th EIT section that is whole and long enough to flip a byte of
    // its first event's descriptors.
    std::size_t index = 0;
    const independent::Section* victim = nullptr;
    const auto sections = independent::SectionsOf(ts, 0x12);  // the victim points into it
    for (const auto& s : sections) {
        if (!s.crcOk || s.bytes[0] < 0x4E || s.bytes[0] > 0x6F) continue;
        if (index == 300 && s.bytes.size() > 60) {
            victim = &s;
            break;
        }
        ++index;
    }
    ASSERT_NE(victim, nullptr);
    Bytes flipped = ts;
    flipped[victim->fileOffsets[40]] ^= 0x20;

    const auto after = Decode(flipped);
    std::vector<SectionId> expected = Ids(original);
    ASSERT_GT(expected.size(), index);
    expected.erase(expected.begin() + std::ptrdiff_t(index));
    EXPECT_EQ(Ids(after), expected);
}

std::string NameOf(const std::vector<EitSection>& sections, std::uint16_t sid, std::uint16_t eid) {
    for (const EitSection& s : sections)
        for (const EitEvent& e : s.events)
            if (s.serviceId == sid && e.eventId == eid) return e.name;
    return "(not found)";
}

TEST(EitCapture, RealNamesWithUmlautsAndAccents) {
    READ_OR_SKIP(de, kGermany);
    const auto german = Decode(de);  // ISO 8859-15 by the selector 0x0B
    EXPECT_EQ(NameOf(german, 1697, 52564), "Die Ernährungs-Docs (73)");
    EXPECT_EQ(NameOf(german, 833, 50862), "In aller Freundschaft - Die jungen Ärzte");
    EXPECT_EQ(NameOf(german, 802, 47228), "Österreichs Bergdörfer");
    EXPECT_EQ(NameOf(german, 993, 46731),
              "Verrückt nach Meer - vom Wasser aus die Welt entdecken (13)");

    READ_OR_SKIP(sk, kFragments[3]);
    const auto slovak = Decode(sk);  // the default table, ISO 6937
    EXPECT_EQ(NameOf(slovak, 4006, 56906), "Babička, rozprávaj! (2)");
    EXPECT_EQ(NameOf(slovak, 4006, 56910), "Máša a medveď V (20)");
    EXPECT_EQ(NameOf(slovak, 4006, 56914), "Hanička a Murko pre najmenších (5)");

    READ_OR_SKIP(pl, kFragments[2]);
    EXPECT_EQ(NameOf(Decode(pl), 93, 20552), "Jan Paweł II wciąż żywy");  // ISO 8859-13
    READ_OR_SKIP(fr, kFragments[1]);
    EXPECT_EQ(NameOf(Decode(fr), 1537, 3460), "Joséphine, ange gardien....");  // ISO 8859-9
}

}  // namespace
