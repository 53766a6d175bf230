// The .svl file: exact layout, round trips, LNB table order and sharing,
// format errors, and the program kind rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "SampleLists.h"
#include "channellist/CArchiveReader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SVLFileLayout, EmptyListIsTenBytes) {
    CSVLFile list;
    const Bytes bytes = list.Store();
    EXPECT_EQ(bytes, Bytes(10, 0));
    CSVLFile back;
    ASSERT_TRUE(back.Load(bytes));
    EXPECT_TRUE(back.Loaded);
    EXPECT_TRUE(back.Programs.empty());
    EXPECT_TRUE(back.Lnbs.Empty());
}

CSVLFile OneProgramList() {
    CSVLFile list;
    auto p = std::make_unique<CProgramInfo>();
    p->Name = "AB";
    p->FrontendType = 2;
    p->LnbName = "L";
    p->Frequency = 11836000;  // 0x00B49A60
    p->PolarisationOrQam = 1;
    p->SymbolRate = 27500000;  // 0x01A39DE0
    p->ProgramType = 0x10001;
    p->ServiceId = 0x6DCA;
    p->TeletextPid = 0x68;
    CStreaminfo s;
    s.Descriptors = {0x0A, 0x04, 'd', 'e', 'u', 0};
    s.StreamType = 3;
    s.Pid = 0x66;
    p->Streams.push_back(s);
    p->ProgramData2 = {0xEE};
    list.InsertProgram(std::move(p));
    return list;
}

/// OneProgramList() as stored.
const Bytes OneProgramBytes{
    0,    0,    0,    0,                                   // Reserved
    1,    0,    0,    0,                                   // N
    2,    'A',  'B',  0,                                   // Name, Provider
    2,    0,    0,    0,                                   // FrontendType
    1,    'L',                                             // LnbName
    0x60, 0x9A, 0xB4, 0x00,                                // Frequency
    1,    0,    0,    0,                                   // PolarisationOrQam
    0xE0, 0x9D, 0xA3, 0x01,                                // SymbolRate
    0x01, 0x00, 0x01, 0x00,                                // ProgramType
    0,    0,    0,    0,    0,   0,   0,   0, 0xCA, 0x6D,  // CiAccess, TSID, NID, ONID, SID
    0,    0,    0,    0,    0,   0,   0,   0, 0x68, 0,     // PCR, PMT, V, A, TTX
    1,    0,    0,    0,                                   // StreamCount
    6,    0,    0x0A, 0x04, 'd', 'e', 'u', 0, 3,    0,    0x66, 0,  // stream
    0,    0,                                                        // ProgramData1
    1,    0,    0xEE,                                               // ProgramData2
    0,    0,                                                        // no LNBs
};

TEST(SVLFileLayout, OneProgramByteForByte) { EXPECT_EQ(OneProgramList().Store(), OneProgramBytes); }

// A file that ends inside a field fails at the start of that field, also
// where the loader checks a whole run of fields at once.
TEST(SVLFileLayout, TruncationFailsAtTheFieldItCuts) {
    struct Cut {
        std::size_t length;
        std::size_t offset;
        const char* field;
    };
    const Cut cuts[] = {
        {18, 18, "Frequency"},   {20, 18, "Frequency"},    {27, 26, "SymbolRate"},
        {35, 34, "CiAccess"},    {43, 42, "ServiceId"},    {53, 52, "TeletextPid"},
        {57, 54, "StreamCount"}, {64, 60, "Descriptors"},  {67, 66, "StreamType"},
        {69, 68, "Pid"},         {71, 70, "ProgramData1"}, {73, 72, "ProgramData2"},
    };
    ASSERT_EQ(OneProgramList().Store(), OneProgramBytes);
    for (const Cut& cut : cuts) {
        CSVLFile list;
        ArchiveError error;
        ASSERT_FALSE(list.Load(std::span(OneProgramBytes.data(), cut.length), &error)) << cut.field;
        EXPECT_EQ(error.offset, cut.offset) << cut.field;
        EXPECT_EQ(error.message, "Unerwartetes Dateiende") << cut.field;
    }
}

TEST(SVLFileRoundTrip, StoreLoadStoreIsByteIdentical) {
    const CSVLFile list = MakeSampleList();
    const Bytes first = list.Store();
    CSVLFile back;
    bool canonical = false;
    ASSERT_TRUE(back.Load(first, nullptr, &canonical));
    EXPECT_TRUE(canonical);
    EXPECT_EQ(back.Reserved, 0xDEADBEEFu);
    EXPECT_EQ(back.ProgramCount, 3u);
    ASSERT_EQ(back.Programs.size(), list.Programs.size());
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        EXPECT_EQ(*back.Programs[i], *list.Programs[i]) << i;
    EXPECT_TRUE(back.Programs[1]->Streams.empty());
    EXPECT_EQ(back.Store(), first);
}

TEST(SVLFileRoundTrip, SharedLnbObjectLoadsAsOneObjectUnderTwoKeys) {
    const Bytes bytes = MakeSampleList().Store();
    CSVLFile back;
    ASSERT_TRUE(back.Load(bytes));
    ASSERT_EQ(back.Lnbs.Size(), 4u);
    ASSERT_NE(back.FindLnb("Alias"), nullptr);
    EXPECT_EQ(back.FindLnb("Alias"), back.FindLnb("Astra 19\xB0"));
    EXPECT_NE(back.FindLnb("Alias"), back.FindLnb("Universal 2"));
    EXPECT_EQ(back.FindLnb("Universal 2")->DiseqcParameter, 3);
    EXPECT_EQ(back.FindLnb("alias"), nullptr) << "keys are case-sensitive";
}

TEST(SVLFileRoundTrip, LoadReplacesAnEarlierLoad) {
    CSVLFile list;
    ASSERT_TRUE(list.Load(MakeSampleList().Store()));
    ASSERT_TRUE(list.Load(CSVLFile().Store()));
    EXPECT_TRUE(list.Programs.empty());
    EXPECT_TRUE(list.Lnbs.Empty());
    EXPECT_EQ(list.Reserved, 0u);
    // A list that was built, not loaded, holds exactly the file's records afterwards too.
    CSVLFile built = MakeSampleList();
    ASSERT_FALSE(built.Loaded);
    ASSERT_TRUE(built.Load(CSVLFile().Store()));
    EXPECT_TRUE(built.Programs.empty());
    EXPECT_TRUE(built.Lnbs.Empty());
}

// ---- LNB table order ----

TEST(LnbTableOrder, HashIsSignedByteTimes33) {
    EXPECT_EQ(CLnbTable::Hash(""), 0u);
    EXPECT_EQ(CLnbTable::Hash("A"), 65u);
    EXPECT_EQ(CLnbTable::Hash("AB"), 65u * 33 + 66);
    // 0xB0 counts as -80.
    EXPECT_EQ(CLnbTable::Hash("\xB0"), static_cast<std::uint32_t>(-80));
    EXPECT_EQ(CLnbTable::Hash("a\xB0"), 97u * 33 - 80);
    // Wraps modulo 2^32: 33^7 * 'z' alone exceeds it.
    EXPECT_EQ(CLnbTable::Hash("zzzzzzzz"), 0x6C1A6ED0u);
}

TEST(LnbTableOrder, BucketsAscendingNewestFirstWithinBucket) {
    // Keys by bucket (hash mod 17): "A" 65%17=14, "B" 15, "R" 82%17=14, "0" 48%17=14, "1" 15.
    CLnbTable table;
    for (const char* key : {"A", "B", "R", "0", "1", "\xB0"}) table.Set(key, nullptr);
    // "\xB0": -80 mod 2^32 = 4294967216, mod 17 = 4294967216 - 17*252645130 = 6
    std::vector<std::string> order;
    for (const auto* e : table.InHashOrder()) order.push_back(e->key);
    EXPECT_EQ(order, (std::vector<std::string>{"\xB0", "0", "R", "A", "1", "B"}));
    // Replacing a key keeps its place.
    table.Set("A", MakeLnb(1, 0));
    std::vector<std::string> again;
    for (const auto* e : table.InHashOrder()) again.push_back(e->key);
    EXPECT_EQ(again, order);
    EXPECT_TRUE(table.Remove("R"));
    EXPECT_FALSE(table.Remove("R"));
    EXPECT_EQ(table.Find("A")->LnbType, 1);
    EXPECT_EQ(table.Size(), 5u);
}

TEST(LnbTableOrder, FileHoldsPairsInHashOrderAndReloadKeepsIt) {
    CSVLFile list;
    const std::vector<std::string> keys{
        "Universal 2", "Astra 19\xB0", "Hotbird 13\xB0", "Universal 1", "X", "Y", "Z", "Q"};
    for (std::size_t i = 0; i < keys.size(); ++i)
        list.Lnbs.Set(keys[i], MakeLnb(3, static_cast<int>(i)));
    const Bytes bytes = list.Store();
    // Read back the keys in file order.
    CArchiveReader ar(bytes);
    ar.ReadU32();
    ar.ReadU32();
    const std::uint32_t m = ar.ReadCount();
    ASSERT_EQ(m, keys.size());
    std::vector<std::string> fileOrder;
    for (std::uint32_t i = 0; i < m; ++i) {
        fileOrder.push_back(ar.ReadString());
        ar.ReadObject();
    }
    std::vector<std::string> expected;
    for (const auto* e : list.Lnbs.InHashOrder()) expected.push_back(e->key);
    EXPECT_EQ(fileOrder, expected);
    for (std::size_t i = 1; i < fileOrder.size(); ++i)
        EXPECT_LE(CLnbTable::Hash(fileOrder[i - 1]) % 17, CLnbTable::Hash(fileOrder[i]) % 17);

    CSVLFile back;
    ASSERT_TRUE(back.Load(bytes));
    EXPECT_EQ(back.Store(), bytes);
}

TEST(LnbTableOrder, AnyOrderWithinABucketIsReproduced) {
    // "A" and "R" share a bucket; either order within it is a possible
    // insertion order, so both files store back unchanged.
    for (const auto& keys : {std::pair{"R", "A"}, std::pair{"A", "R"}}) {
        CSVLFile list;
        list.Lnbs.Set(keys.first, MakeLnb(1, 0));
        list.Lnbs.Set(keys.second, MakeLnb(2, 0));
        const Bytes bytes = list.Store();
        CSVLFile back;
        bool canonical = false;
        ASSERT_TRUE(back.Load(bytes, nullptr, &canonical));
        EXPECT_TRUE(canonical);
        EXPECT_EQ(back.Store(), bytes);
        EXPECT_EQ(back.FindLnb(keys.second)->LnbType, 2);
    }
}

TEST(LnbTableOrder, BucketsOutOfOrderLoadButAreNotCanonical) {
    // "B" (bucket 15) before "A" (bucket 14): readable, but the writer puts "A" first.
    Bytes bytes(8, 0);
    bytes.insert(bytes.end(), {2, 0, 1, 'B', 0xFF, 0xFF, 1, 0, 4, 0, 'C', 'L', 'n', 'b'});
    bytes.insert(bytes.end(), 48, 0);
    bytes.insert(bytes.end(), {1, 'A', 0x01, 0x80});
    bytes.insert(bytes.end(), 48, 0);
    CSVLFile list;
    bool canonical = true;
    ASSERT_TRUE(list.Load(bytes, nullptr, &canonical));
    EXPECT_FALSE(canonical);
    const Bytes again = list.Store();
    ASSERT_EQ(again.size(), bytes.size());
    EXPECT_EQ(again[11], 'A');
}

TEST(LnbTableOrder, LaterDuplicateKeyWins) {
    // Hand-made table: key "K" twice, second value wins.
    Bytes bytes(8, 0);
    bytes.insert(bytes.end(), {2, 0});
    const Bytes lnbClass{0xFF, 0xFF, 1, 0, 4, 0, 'C', 'L', 'n', 'b'};
    bytes.insert(bytes.end(), {1, 'K'});
    bytes.insert(bytes.end(), lnbClass.begin(), lnbClass.end());
    bytes.insert(bytes.end(), 48, 0);
    bytes.insert(bytes.end(), {1, 'K', 0x01, 0x80, 7});
    bytes.insert(bytes.end(), 47, 0);
    CSVLFile list;
    bool canonical = true;
    ASSERT_TRUE(list.Load(bytes, nullptr, &canonical));
    EXPECT_FALSE(canonical);
    ASSERT_EQ(list.Lnbs.Size(), 1u);
    EXPECT_EQ(list.FindLnb("K")->LnbType, 7);
}

// ---- format errors ----

TEST(SVLFileErrors, EveryTruncationFailsAndLeavesTheListEmpty) {
    const Bytes bytes = MakeSampleList().Store();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CSVLFile list;
        ASSERT_TRUE(list.Load(MakeSampleList().Store()));
        ArchiveError error;
        ASSERT_FALSE(list.Load(std::span(bytes.data(), n), &error)) << n;
        EXPECT_TRUE(list.Programs.empty()) << n;
        EXPECT_TRUE(list.Lnbs.Empty()) << n;
        EXPECT_FALSE(list.Loaded) << n;
        EXPECT_EQ(error.message, "Unerwartetes Dateiende") << n;
        EXPECT_LE(error.offset, n) << n;
    }
}

TEST(SVLFileErrors, HugeProgramCountEndsAtTheEnd) {
    Bytes bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    CSVLFile list;
    ArchiveError error;
    EXPECT_FALSE(list.Load(bytes, &error));
    EXPECT_EQ(error.message, "Unerwartetes Dateiende");
}

TEST(SVLFileErrors, HugeOrNegativeStreamCountIsRefused) {
    CSVLFile one;
    one.InsertProgram(MakeProgram("P", 1, 0));
    Bytes bytes = one.Store();
    // The stream count is followed only by two empty blocks and the empty LNB table.
    const std::size_t streamCountAt = bytes.size() - 4 - 2 - 2 - 2;
    ASSERT_EQ(bytes[streamCountAt], 0);
    for (std::uint32_t count : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Bytes bad = bytes;
        for (int i = 0; i < 4; ++i)
            bad[streamCountAt + i] = static_cast<std::uint8_t>(count >> (8 * i));
        CSVLFile list;
        ArchiveError error;
        EXPECT_FALSE(list.Load(bad, &error));
        EXPECT_TRUE(list.Programs.empty());
    }
}

Bytes ListWithLnbClass(std::uint16_t schema, const std::string& name) {
    Bytes bytes(8, 0);
    bytes.insert(bytes.end(), {1, 0, 1, 'K', 0xFF, 0xFF, static_cast<std::uint8_t>(schema), 0,
                               static_cast<std::uint8_t>(name.size()), 0});
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.insert(bytes.end(), 48, 0);
    return bytes;
}

TEST(SVLFileErrors, ClassDescriptionFaults) {
    CSVLFile list;
    ASSERT_TRUE(list.Load(ListWithLnbClass(1, "CLnb")));
    ArchiveError error;
    EXPECT_FALSE(list.Load(ListWithLnbClass(2, "CLnb"), &error));
    EXPECT_NE(error.message.find("Schemanummer"), std::string::npos);
    EXPECT_FALSE(list.Load(ListWithLnbClass(1, "CLnbX"), &error));
    EXPECT_NE(error.message.find("Unbekannte Klasse"), std::string::npos);
    EXPECT_FALSE(list.Load(ListWithLnbClass(1, std::string(64, 'L')), &error));
    EXPECT_NE(error.message.find("zu lang"), std::string::npos);
    EXPECT_EQ(error.offset, 16u);
    // A record class that is not an LNB under an LNB key.
    EXPECT_FALSE(list.Load(ListWithLnbClass(1, "CStreaminfo"), &error));
    EXPECT_TRUE(list.Lnbs.Empty());
}

TEST(SVLFileErrors, NullLnbValueRoundTrips) {
    Bytes bytes(8, 0);
    bytes.insert(bytes.end(), {1, 0, 1, 'K', 0, 0});
    CSVLFile list;
    bool canonical = false;
    ASSERT_TRUE(list.Load(bytes, nullptr, &canonical));
    EXPECT_TRUE(canonical);
    EXPECT_EQ(list.FindLnb("K"), nullptr);
    EXPECT_EQ(list.Store(), bytes);
}

TEST(SVLFileErrors, TrailingBytesLoadButAreNotCanonical) {
    Bytes bytes(10, 0);
    bytes.push_back(0x42);
    CSVLFile list;
    bool canonical = true;
    EXPECT_TRUE(list.Load(bytes, nullptr, &canonical));
    EXPECT_FALSE(canonical);
}

// ---- editing helpers ----

TEST(SVLFilePrograms, InsertAfterPositionOrAtEnd) {
    CSVLFile list;
    EXPECT_EQ(list.InsertProgram(MakeProgram("a", 1)), 0u);
    EXPECT_EQ(list.InsertProgram(MakeProgram("c", 3)), 1u);
    EXPECT_EQ(list.InsertProgram(MakeProgram("b", 2), 0), 1u);
    EXPECT_EQ(list.InsertProgram(MakeProgram("d", 4), 99), 3u);
    std::string names;
    for (const auto& p : list.Programs) names += p->Name;
    EXPECT_EQ(names, "abcd");
    list.Clear();
    EXPECT_TRUE(list.Programs.empty());
    EXPECT_FALSE(list.Loaded);
}

struct KindCase {
    std::uint32_t type;
    ProgramKind kind;
    bool encrypted;
    const char* text;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << "type " << c.type; }

class ProgramKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(ProgramKinds, FollowTheTypeBits) {
    CProgramInfo p;
    p.ProgramType = GetParam().type;
    EXPECT_EQ(p.Kind(), GetParam().kind);
    EXPECT_EQ(p.IsEncrypted(), GetParam().encrypted);
    EXPECT_EQ(p.KindText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramKinds,
    ::testing::Values(KindCase{0, ProgramKind::Radio, false, "Radio"},
                      KindCase{1, ProgramKind::TV, false, "TV"},
                      KindCase{2, ProgramKind::Radio, false, "Radio"},
                      KindCase{3, ProgramKind::TV, false, "TV"},  // dialog's "Data" value
                      KindCase{0x0C, ProgramKind::Data, false, "Data"},
                      KindCase{0x05, ProgramKind::Data, false, "Data"},
                      KindCase{0x10001, ProgramKind::TV, true, "TV Verschlüsselt"},
                      KindCase{0x10002, ProgramKind::Radio, true, "Radio Verschlüsselt"},
                      KindCase{0x10008, ProgramKind::Data, true, "Data"}));

struct LanguageCase {
    ByteBlock descriptors;
    std::string code;
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << "expect '" << c.code << "'"; }

class StreamLanguage : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(StreamLanguage, FirstIso639DescriptorWins) {
    CStreaminfo s;
    s.Descriptors = GetParam().descriptors;
    EXPECT_EQ(s.LanguageCode(), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StreamLanguage,
    ::testing::Values(
        LanguageCase{{}, ""}, LanguageCase{{0x0A, 4, 'e', 'n', 'g', 0}, "eng"},
        LanguageCase{{0x52, 1, 7, 0x0A, 4, 'f', 'r', 'a', 1, 0x0A, 4, 'd', 'e', 'u', 0}, "fra"},
        LanguageCase{{0x0A, 2, 'd', 'e'}, ""},       // too short for a code
        LanguageCase{{0x0A, 9, 'd', 'e', 'u'}, ""},  // length past the end
        LanguageCase{{0x0A}, ""}));

}  // namespace
