// The PSI decoder's pieces without a card: the cable channel table, the
// descriptor loop, the stream record's language text and stored form, the
// three table steps on hand-built sections, and the tree through the key
// store and its reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "PsiSections.h"
#include "RegistryKeyWriter.h"
#include "kestrel/CChannels.h"
#include "kestrel/CDescriptorLoop.h"
#include "kestrel/CStreamInfo.h"
#include "kestrel/PsiTree.h"
#include "kestrel/RegistryTree.h"

namespace kestrel::test {
namespace {

using psi::Bytes;

std::vector<std::pair<std::string, std::uint32_t>> Walk(CChannels& channels) {
    std::vector<std::pair<std::string, std::uint32_t>> out;
    std::string name;
    std::uint32_t kHz = 1;
    while (channels.GetNextChannel(name, kHz)) out.emplace_back(name, kHz);
    EXPECT_EQ(name, "");
    EXPECT_EQ(kHz, 0u);
    return out;
}

TEST(Channels, WholeRangeRunsFromC02ToC69Over106Channels) {
    CChannels channels;
    const auto all = Walk(channels);
    ASSERT_EQ(all.size(), 106u);
    EXPECT_EQ(all.front(), std::make_pair(std::string("C02"), 50500u));
    EXPECT_EQ(all.back(), std::make_pair(std::string("C69"), 858000u));
    EXPECT_EQ(all[3], std::make_pair(std::string("X    "), 71500u));
    EXPECT_EQ(all[7], std::make_pair(std::string("Z+2"), 99500u));
    EXPECT_EQ(all[8], std::make_pair(std::string("S01"), 107500u));
    EXPECT_EQ(all[36].first, "S21");
    EXPECT_EQ(all[36].second, 306000u);
    for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1].second, all[i].second);
}

TEST(Channels, LimitsStopAtTheUpperAndStayThere) {
    CChannels channels(100000, 200000);
    const auto some = Walk(channels);
    ASSERT_FALSE(some.empty());
    EXPECT_EQ(some.front(), std::make_pair(std::string("S01"), 107500u));
    EXPECT_EQ(some.back(), std::make_pair(std::string("C08"), 198500u));
    std::string name = "x";
    std::uint32_t kHz = 1;
    EXPECT_EQ(channels.GetNextChannel(name, kHz), 0);
    EXPECT_EQ(channels.GetNextChannel(name, kHz), 0);
}

TEST(Channels, LimitsAreClampedAndTheWalkIsSharedByAllObjects) {
    CChannels wide(0, 2000000);  // 50 000 .. 860 000
    EXPECT_EQ(Walk(wide).size(), 106u);
    CChannels low(50500, 50001);  // upper 50 001: nothing in between
    EXPECT_TRUE(Walk(low).empty());
    CChannels first(50000, 64500);  // a limit equal to an entry keeps it
    std::string name;
    std::uint32_t kHz = 0;
    ASSERT_EQ(first.GetNextChannel(name, kHz), 1);
    EXPECT_EQ(name, "C02");
    CChannels other(50000, 64500);  // constructing resets the one cursor
    ASSERT_EQ(first.GetNextChannel(name, kHz), 1);
    EXPECT_EQ(name, "C02");
    ASSERT_EQ(other.GetNextChannel(name, kHz), 1);
    EXPECT_EQ(name, "C03");
}

TEST(DescriptorLoop, WalksDescriptorsAndCutsTheLastAtTheEnd) {
    CDescriptorLoop loop(ByteVector{0x0A, 2, 'd', 'e', 0x52, 9, 0x77, 0x78, 0x99});
    std::uint8_t tag = 0, length = 0;
    const std::uint8_t* data = nullptr;
    ASSERT_TRUE(loop.GetNextDescriptor(tag, length, data));
    EXPECT_EQ(tag, 0x0A);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(data[1], 'e');
    ASSERT_TRUE(loop.GetNextDescriptor(tag, length, data));
    EXPECT_EQ(tag, 0x52);
    EXPECT_EQ(length, 3);  // 9 announced, 3 there
    EXPECT_EQ(data[2], 0x99);
    EXPECT_FALSE(loop.GetNextDescriptor(tag, length, data));
    EXPECT_EQ(loop.GetCursor(), 9u);

    CDescriptorLoop lone(ByteVector{0x48, 0, 0x56});  // an empty one, then a lone byte
    ASSERT_TRUE(lone.GetNextDescriptor(tag, length, data));
    EXPECT_EQ(length, 0);
    EXPECT_FALSE(lone.GetNextDescriptor(tag, length, data));
    EXPECT_STREQ(lone.GetRuntimeClassName(), "CDescriptorLoop");
}

ByteVector Languages() {
    ByteVector d = Descriptor(0x0A, {'d', 'E', 'u', 0x01});
    const ByteVector eng = Descriptor(0x0A, {'e', 'n', 'g', 0x00});
    const ByteVector text = Descriptor(0xC5, {0x01, 'O', 0, 'T'});
    const ByteVector shortOne = Descriptor(0x0A, {'i', 't'});  // too short: ignored
    for (const auto* part : {&eng, &text, &shortOne}) d.insert(d.end(), part->begin(), part->end());
    return d;
}

TEST(StreamInfo, LanguageTextInEachCaseAndByName) {
    const CStreamInfo info(4, 0x101, Languages());
    EXPECT_EQ(info.GetLanguageText(), "dEu - eng - OT");
    EXPECT_EQ(info.GetLanguageText(CStreamInfo::kUpperCase), "DEU - ENG - OT");
    EXPECT_EQ(info.GetLanguageText(CStreamInfo::kLowerCase), "deu - eng - OT");
    EXPECT_EQ(info.GetLanguageText(CStreamInfo::kUpperCase, true), "German - English - OT");
    EXPECT_EQ(CStreamInfo(3, 1, Descriptor(0x0A, {'q', 'q', 'x', 0})).GetLanguageText(0, true),
              "Unknown Language (qqx)");
    // Zero bytes among the three are left out.
    EXPECT_EQ(CStreamInfo(3, 1, Descriptor(0x0A, {'f', 0, 'r', 'a'})).GetLanguageText(), "fr");
    EXPECT_EQ(CStreamInfo::LanguageName("ger"), "German");
    EXPECT_EQ(CStreamInfo::LanguageName("fre"), "French");
    EXPECT_EQ(CStreamInfo::LanguageName("DEU"), "Unknown Language (DEU)");  // exact match only
    EXPECT_EQ(CStreamInfo::LanguageName(""), "Unknown Language ()");
    EXPECT_EQ(CStreamInfo().GetLanguageText(), "");
}

TEST(StreamInfo, StoredFormRoundTripsAndRefusesCutInput) {
    const CStreamInfo info(0x1B, 0x1FFF, Languages());
    ByteVector stored;
    info.Store(stored);
    const std::size_t n = Languages().size();
    ASSERT_EQ(stored.size(), 2 + n + 4);
    EXPECT_EQ(stored[0], n);
    EXPECT_EQ(stored[1], 0);
    EXPECT_EQ(ByteVector(stored.end() - 4, stored.end()), (ByteVector{0x1B, 0, 0xFF, 0x1F}));

    CStreamInfo back;
    EXPECT_EQ(back.GetStreamType(), CStreamInfo::kUnset);
    std::size_t pos = 0;
    ASSERT_TRUE(back.Load(stored, pos));
    EXPECT_EQ(pos, stored.size());
    EXPECT_EQ(back.GetData(), info.GetData());
    EXPECT_EQ(back.GetPID(), 0x1FFF);
    EXPECT_EQ(back.GetStreamType(), 0x1B);
    for (std::size_t cut = 0; cut < stored.size(); ++cut) {
        CStreamInfo partial;
        std::size_t at = 0;
        EXPECT_FALSE(partial.Load(Bytes(stored).first(cut), at)) << cut;
        EXPECT_EQ(at, 0u);
    }
    // 0xFFFF bytes and more take the long count.
    CDescriptorLoop big(ByteVector(0x10000, 0x41));
    ByteVector bigStored;
    big.Store(bigStored);
    EXPECT_EQ(ByteVector(bigStored.begin(), bigStored.begin() + 6),
              (ByteVector{0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
    CDescriptorLoop bigBack;
    pos = 0;
    ASSERT_TRUE(bigBack.Load(bigStored, pos));
    EXPECT_EQ(bigBack.GetData().size(), 0x10000u);
}

class Tables : public ::testing::Test {
  protected:
    std::uint16_t Association(const std::vector<ByteVector>& sections) {
        std::vector<Bytes> spans(sections.begin(), sections.end());
        return psi::DecodeAssociation(spans, slots, out);
    }
    void ServiceTable(const ByteVector& section) {
        const std::vector<Bytes> spans = {section};
        psi::DecodeServiceTable(spans, slots, out);
    }
    std::uint32_t D(const std::string& keyName) const {
        const auto it = out.dwords.find(keyName);
        return it == out.dwords.end() ? 0xDEADu : it->second;
    }
    std::string S(const std::string& keyName) const {
        const auto it = out.strings.find(keyName);
        return it == out.strings.end() ? "<none>" : it->second;
    }
    psi::ProgramSlots slots;
    MemoryWriter out;
};

TEST_F(Tables, AssociationSkipsProgramZeroAndNumbersSectionsOnConsecutively) {
    const auto tsid = Association({Pat(0x1234, {{0, 0x10}, {101, 0x100}, {102, 0x200}}, 0, 1),
                                   Pat(0x1234, {{0, 0x10}, {103, 0x300}}, 1, 1)});
    EXPECT_EQ(tsid, 0x1234);
    ASSERT_EQ(slots.programs.size(), 3u);
    EXPECT_EQ(D("|NumberOfPrograms"), 3u);
    EXPECT_EQ(D("|TransportStreamID"), 0x1234u);
    EXPECT_EQ(D("P0000|ServiceID"), 101u);
    EXPECT_EQ(D("P0001|PID_PMT"), 0x200u);
    EXPECT_EQ(D("P0002|ServiceID"), 103u);
    EXPECT_EQ(D("P0002|PID_PMT"), 0x300u);
    EXPECT_EQ(S("P0002|Name"), "Service 0x0067");
    EXPECT_EQ(S("P0000|Provider"), "Provider 0x1234");
    EXPECT_FALSE(out.Has("P0003|ServiceID"));
    EXPECT_EQ(slots.MapFilterCount(5), 5);
}

TEST_F(Tables, ProgramsSharingAMapPidAreReadOneAtATime) {
    Association({Pat(1, {{1, 0x100}, {2, 0x100}, {3, 0x101}})});
    ASSERT_EQ(slots.MapFilterCount(5), 1);
    EXPECT_EQ(slots.TakeNext(), 0);
    // The map of program 2 arrives on the shared PID although 1 was asked for.
    EXPECT_EQ(psi::DecodeProgramMap(Pmt(2, 0x1FFF, {}, {}), slots, out), 1);
    EXPECT_EQ(slots.TakeNext(), 2);  // program 2 is done, so 3 is next
    EXPECT_EQ(slots.TakeNext(), -1);
    EXPECT_EQ(psi::DecodeProgramMap(Pmt(9, 0x100, {}, {}), slots, out), -1);  // unknown
    EXPECT_FALSE(out.Has("P0000|PID_PCR"));
    EXPECT_EQ(D("P0001|PID_PCR"), 0x1FFFu);
}

TEST_F(Tables, ProgramMapWritesStreamsDescriptorsAndThePidsFound) {
    Association({Pat(1, {{7, 0x100}})});
    const ByteVector info = Descriptor(0x09, {0x01, 0x00, 0xE0, 0x50});
    ByteVector ttx = Descriptor(0x56, {'i', 't', 'a', 0x09, 0x00});
    const ByteVector streamId = Descriptor(0x52, {0x05});
    ttx.insert(ttx.end(), streamId.begin(), streamId.end());
    ASSERT_EQ(psi::DecodeProgramMap(Pmt(7, 0x120, info,
                                        {{0x02, 0x120, {}},
                                         {0x02, 0x121, {}},
                                         {0x04, 0x130, Languages()},
                                         {0x06, 0x140, ttx},
                                         {0x03, 0x131, Descriptor(0x52, {})}}),
                                    slots, out),
              0);
    EXPECT_EQ(D("P0000|PID_PCR"), 0x120u);
    EXPECT_EQ(D("P0000\\Descriptors_PMT|NumberOfDescriptors"), 1u);
    EXPECT_EQ(D("P0000\\Descriptors_PMT\\D0000|Tag"), 0x09u);
    EXPECT_EQ(out.binaries.at("P0000\\Descriptors_PMT\\D0000|Data"),
              (ByteVector{0x01, 0x00, 0xE0, 0x50}));
    EXPECT_EQ(D("P0000|NumberOfStreams"), 5u);
    EXPECT_EQ(D("P0000|PID_Video"), 0x120u);  // the first of type 2
    EXPECT_EQ(D("P0000|PID_Audio"), 0x130u);
    EXPECT_EQ(D("P0000|PID_TeleText"), 0x140u);
    EXPECT_EQ(D("P0000\\S0002|Type"), 4u);
    EXPECT_EQ(D("P0000\\S0002|NumberOfDescriptors"), 4u);
    EXPECT_EQ(D("P0000\\S0002\\D0002|Tag"), 0xC5u);
    EXPECT_EQ(D("P0000\\S0003|StreamID"), 5u);
    EXPECT_EQ(D("P0000\\S0000|StreamID"), 0xFFFFFFFFu);  // none
    EXPECT_EQ(D("P0000\\S0004|StreamID"), 0xFFFFFFFFu);  // an empty one gives nothing
    EXPECT_EQ(slots.programs[0].state, psi::MapState::Done);
}

TEST_F(Tables, ProgramWithoutVideoAudioOrTeletextGetsZeros) {
    Association({Pat(1, {{7, 0x100}})});
    psi::DecodeProgramMap(Pmt(7, 0x1FFF, {}, {{0x05, 0x200, {}}, {0x1B, 0x201, {}}}), slots, out);
    EXPECT_EQ(D("P0000|NumberOfStreams"), 2u);
    EXPECT_EQ(D("P0000|PID_Video"), 0u);
    EXPECT_EQ(D("P0000|PID_Audio"), 0u);
    EXPECT_EQ(D("P0000|PID_TeleText"), 0u);
    EXPECT_EQ(D("P0000\\Descriptors_PMT|NumberOfDescriptors"), 0u);
}

TEST_F(Tables, ServiceTableNamesKnownServicesAndEmptyNamesGetTheirTexts) {
    Association({Pat(0x10, {{1, 0x100}, {2, 0x101}})});
    ByteVector rai = ServiceDescriptor(0x01, "\x05 Rai \x86", "  Rai 1\x8A ");
    ServiceTable(Sdt(0x10, 318,
                     {{2, true, false, 4, true, ServiceDescriptor(0x02, "", "")},
                      {9, true, true, 4, false, rai},  // no such program
                      {1, false, true, 1, false, rai}}));
    EXPECT_EQ(D("|OriginalNetworkID"), 318u);
    EXPECT_EQ(S("P0000|Name"), "Rai 1");
    EXPECT_EQ(S("P0000|Provider"), "Rai");
    EXPECT_EQ(D("P0000|ServiceType"), 1u);
    EXPECT_EQ(D("P0000|EIT_Schedule"), 0u);
    EXPECT_EQ(D("P0000|EIT_PresentFollowing"), 1u);
    EXPECT_EQ(D("P0000|RunningStatus"), 1u);
    EXPECT_EQ(S("P0001|Name"), "(No Name)");
    EXPECT_EQ(S("P0001|Provider"), "(Not Defined)");
    EXPECT_EQ(D("P0001|Scrambled"), 1u);
    EXPECT_EQ(D("P0001|EIT_Schedule"), 1u);
    EXPECT_EQ(D("P0001|RunningStatus"), 4u);
    EXPECT_EQ(D("P0001\\Descriptors_SDT|NumberOfDescriptors"), 1u);
    EXPECT_EQ(D("P0001\\Descriptors_SDT\\D0000|Tag"), 0x48u);
    EXPECT_EQ(psi::ServiceName(ByteVector{0x15, 'a', 0xC2, 0x85, 'b'}, "-"), "ab");
    EXPECT_EQ(psi::ServiceName(ByteVector{' ', 0x01, ' '}, "(No Name)"), "(No Name)");
}

TEST_F(Tables, SectionsAreReadOnlyAsFarAsTheBytesReach) {
    ByteVector pat = Pat(0x10, {{1, 0x100}, {2, 0x200}, {3, 0x300}});
    pat.resize(8 + 4 * 2 + 1);  // two whole entries, then a cut one
    Association({pat});
    EXPECT_EQ(slots.programs.size(), 2u);
    ByteVector pmt = Pmt(1, 0x100, {}, {{0x02, 0x120, {}}, {0x03, 0x130, Languages()}});
    for (std::size_t cut = 0; cut <= pmt.size(); ++cut)
        psi::DecodeProgramMap(Bytes(pmt).first(cut), slots, out);  // never past the cut
    ByteVector sdt = Sdt(0x10, 1, {{1, true, true, 4, false, ServiceDescriptor(1, "P", "N")}});
    for (std::size_t cut = 0; cut <= sdt.size(); ++cut) {
        const std::vector<Bytes> spans = {Bytes(sdt).first(cut)};
        psi::DecodeServiceTable(spans, slots, out);
    }
    EXPECT_EQ(S("P0000|Name"), "N");
    pat[2] = 0xFF;  // a length beyond the bytes
    Association({pat});
    EXPECT_EQ(slots.programs.size(), 2u);
}

TEST(PsiTree, TheKeyStoreTreeReadsBackAsTheRecord) {
    const auto path =
        std::filesystem::temp_directory_path() / ("psitree" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    CRegistry store;
    ASSERT_TRUE(store.Open(path.string()));
    const std::string root = "SOFTWARE\\Norvane\\PSI\\test";
    psi::CRegistryKeyWriter out(store, root);
    psi::CRegistryKeyWriter::Batch batch(out);
    psi::ProgramSlots slots;
    out.String("", "User Info", "hello");
    const std::vector<ByteVector> pat = {Pat(0x10, {{5, 0x100}, {6, 0x101}})};
    const std::vector<Bytes> patSpans(pat.begin(), pat.end());
    psi::DecodeAssociation(patSpans, slots, out);
    psi::DecodeProgramMap(Pmt(5, 0x120, Descriptor(0x09, {1, 2}),
                              {{0x02, 0x120, Descriptor(0x52, {3})}, {0x04, 0x130, Languages()}}),
                          slots, out);
    const ByteVector sdt =
        Sdt(0x10, 0x2F, {{5, true, true, 4, true, ServiceDescriptor(0x19, "Pro", "Eins")}});
    const std::vector<Bytes> sdtSpans = {sdt};
    psi::DecodeServiceTable(sdtSpans, slots, out);

    PsiTree tree;
    EXPECT_FALSE(ReadPsiTree(store, root + "x", tree));
    ASSERT_TRUE(ReadPsiTree(store, root, tree));
    EXPECT_EQ(tree.userInfo, "hello");
    EXPECT_EQ(tree.transportStreamId, 0x10);
    EXPECT_EQ(tree.originalNetworkId, std::optional<std::uint16_t>(0x2F));
    ASSERT_EQ(tree.programs.size(), 2u);
    // The capture tests compare PIDs, streams and names; here the rest.
    const PsiProgram& p = tree.programs[0];
    EXPECT_TRUE(p.pmtRead && p.inSdt);
    EXPECT_EQ(p.serviceType, 0x19u);
    EXPECT_EQ(p.scrambled, 1u);
    EXPECT_EQ(p.runningStatus, 4u);
    EXPECT_EQ(p.eitSchedule + p.eitPresentFollowing, 2u);
    ASSERT_EQ(p.pmtDescriptors.size(), 1u);
    EXPECT_EQ(p.pmtDescriptors[0].data, (ByteVector{1, 2}));
    EXPECT_EQ(p.sdtDescriptors.size(), 1u);
    ASSERT_EQ(p.streams.size(), 2u);
    EXPECT_EQ(p.streams[0].streamId, 3);
    EXPECT_EQ(p.streams[1].streamId, -1);
    EXPECT_EQ(p.streams[1].descriptors.size(), 4u);
    EXPECT_FALSE(tree.programs[1].pmtRead || tree.programs[1].inSdt);

    const std::string text = FormatRegistryTree(store, root + "\\P0000\\S0000");
    EXPECT_EQ(text,
              "SOFTWARE\\Norvane\\PSI\\test\\P0000\\S0000\n"
              "  Type = 2 (0x2)\n  PID = 288 (0x120)\n  NumberOfDescriptors = 1 (0x1)\n"
              "  StreamID = 3 (0x3)\n  D0000\n    Tag = 82 (0x52)\n    Data = 03\n");
    store.Close();
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestrel::test
