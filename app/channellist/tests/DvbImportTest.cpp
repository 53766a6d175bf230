// Import of .dvb channel lists: record fields, names, providers, LNB presets
// and the files that are refused.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "channellist/DvbImport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

/// One 64-byte record, filled field by field (big-endian numbers).
struct Record {
    std::array<std::uint8_t, 64> b{};
    Record() { std::memcpy(b.data(), "DVSO", 4); }
    Record& U16(std::size_t at, std::uint16_t v) {
        b[at] = static_cast<std::uint8_t>(v >> 8);
        b[at + 1] = static_cast<std::uint8_t>(v);
        return *this;
    }
    Record& U8(std::size_t at, std::uint8_t v) {
        b[at] = v;
        return *this;
    }
    Record& Name(const std::string& name) {
        std::memcpy(b.data() + 32, name.data(), std::min<std::size_t>(name.size(), 32));
        return *this;
    }
};

Record Provider(const std::string& name) { return Record().Name(name); }
Record Program(const std::string& name, std::uint16_t mhz = 11836) {
    return Record().Name(name).U16(8, mhz).U16(10, 27500);
}

Bytes File(std::initializer_list<Record> records) {
    Bytes out;
    for (const auto& r : records) out.insert(out.end(), r.b.begin(), r.b.end());
    return out;
}

CSVLFile Imported(const Bytes& bytes) {
    CSVLFile list;
    std::string reason;
    EXPECT_TRUE(ImportDvbList(bytes, list, &reason)) << reason;
    return list;
}

TEST(DvbImportFields, ProgramRecordMapsEveryField) {
    Record r = Program("Das Erste", 0x2E7E);
    r.U16(4, 28106)
        .U16(6, 100)
        .U16(10, 27500)
        .U8(14, 1)
        .U8(15, 0xFE)  // LNB bits 2 -> Universal 1
        .U16(16, 101)
        .U16(18, 102)
        .U16(20, 103)
        .U8(22, 1)
        .U8(27, 0x19)
        .U16(28, 104)
        .U16(30, 1101)
        .U16(12, 0xFFFF)
        .U8(23, 0xAA)
        .U8(60, 0x55);  // bytes that are not read
    const CSVLFile list = Imported(File({r}));
    ASSERT_EQ(list.Programs.size(), 1u);
    const CProgramInfo& p = *list.Programs[0];
    EXPECT_EQ(p.Name, "Das Erste");
    EXPECT_EQ(p.Provider, "");
    EXPECT_EQ(p.FrontendType, 2);
    EXPECT_EQ(p.LnbName, "Universal 1");
    EXPECT_EQ(p.Frequency, 11902000);
    EXPECT_EQ(p.SymbolRate, 27500000);
    EXPECT_EQ(p.PolarisationOrQam, 1);
    EXPECT_EQ(p.ProgramType, 0x10019u);
    EXPECT_EQ(p.NetworkId, 0x19);
    EXPECT_EQ(p.ServiceId, 28106);
    EXPECT_EQ(p.PmtPid, 100);
    EXPECT_EQ(p.VideoPid, 101);
    EXPECT_EQ(p.AudioPid, 102);
    EXPECT_EQ(p.PcrPid, 103);
    EXPECT_EQ(p.TeletextPid, 104);
    EXPECT_EQ(p.TransportStreamId, 1101);
    EXPECT_EQ(p.CiAccess, 0);
    EXPECT_EQ(p.OriginalNetworkId, 0);
    EXPECT_TRUE(p.Streams.empty());
    EXPECT_TRUE(p.ProgramData1.empty());
    EXPECT_TRUE(p.ProgramData2.empty());
}

TEST(DvbImportFields, LnbSelectionAndEncryptionFlag) {
    const std::pair<std::uint8_t, const char*> lnbs[] = {
        {0, "Astra 19\xB0"}, {1, "Hotbird 13\xB0"}, {6, "Universal 1"}, {0xFF, "Universal 2"}};
    for (const auto& [byte15, name] : lnbs) {
        const CSVLFile list = Imported(File({Program("P").U8(15, byte15).U8(22, 2).U8(27, 1)}));
        EXPECT_EQ(list.Programs[0]->LnbName, name);
        EXPECT_FALSE(list.Programs[0]->IsEncrypted()) << "only the value 1 means encrypted";
        EXPECT_EQ(list.Programs[0]->ProgramType, 1u);
    }
}

TEST(DvbImportNames, CleaningAndLength) {
    struct Case {
        std::string raw;
        std::string name;
    } cases[] = {
        {"\x86Sport\x87", "Sport"},
        {"A\x01"
         "B\x1F"
         "C\x7F\xFC",
         "ABC\x7F\xFC"},
        {"12345678901234567890", "12345678901234567890"},
        {"", ""},
    };
    for (const auto& c : cases) {
        Record r = Program("");
        r.Name(c.raw);
        std::memset(r.b.data() + 52, 'X', 12);  // non-zero bytes behind the name field
        const CSVLFile list = Imported(File({r}));
        EXPECT_EQ(list.Programs[0]->Name, c.name);
    }
}

TEST(DvbImportProviders, LastProviderRecordBeforeTheProgram) {
    const CSVLFile list =
        Imported(File({Program("early"),
                       Provider("\x86"
                                "ARD"),
                       Program("a"), Program("b"), Provider("ZDFvision"), Program("c")}));
    ASSERT_EQ(list.Programs.size(), 4u);
    EXPECT_EQ(list.Programs[0]->Provider, "");
    EXPECT_EQ(list.Programs[1]->Provider, "ARD");
    EXPECT_EQ(list.Programs[2]->Provider, "ARD");
    EXPECT_EQ(list.Programs[3]->Provider, "ZDFvision");
    EXPECT_EQ(list.Programs[3]->Name, "c");
}

TEST(DvbImportLnbs, EveryListCarriesTheFourPresets) {
    const CSVLFile list = Imported({});
    EXPECT_TRUE(list.Programs.empty());
    ASSERT_EQ(list.Lnbs.Size(), 4u);
    struct Expect {
        const char* name;
        std::array<std::int32_t, 12> f;
    } expected[] = {
        {"Astra 19\xB0", {2, 11700000, 12750000, 11700000, 10600000, 10600000, 0, 1, 1, 1, 0, 0}},
        {"Hotbird 13\xB0", {3, 10700000, 12750000, 11700000, 9750000, 10600000, 0, 1, 1, 1, 1, 0}},
        {"Universal 1", {3, 10700000, 12750000, 11700000, 9750000, 10600000, 0, 1, 1, 2, 2, 0}},
        {"Universal 2", {3, 10700000, 12750000, 11700000, 9750000, 10600000, 0, 1, 1, 2, 3, 0}},
    };
    for (const auto& e : expected) {
        const CLnb* l = list.FindLnb(e.name);
        ASSERT_NE(l, nullptr) << e.name;
        const std::array<std::int32_t, 12> got{
            l->LnbType,    l->LowFrequency, l->HighFrequency,   l->SwitchFrequency,
            l->LowBandLof, l->HighBandLof,  l->CBand,           l->PowerOn,
            l->Tone22kHz,  l->DiseqcType,   l->DiseqcParameter, l->DiseqcRepeat};
        EXPECT_EQ(got, e.f) << e.name;
    }
    EXPECT_NE(list.FindLnb("Universal 1"), list.FindLnb("Universal 2"));
}

TEST(DvbImportLnbs, StoredListReloadsByteIdentical) {
    const CSVLFile list = Imported(File({Provider("ARD"), Program("Das Erste").U8(15, 2)}));
    const Bytes bytes = list.Store();
    CSVLFile back;
    bool canonical = false;
    ASSERT_TRUE(back.Load(bytes, nullptr, &canonical));
    EXPECT_TRUE(canonical);
    EXPECT_EQ(back.Store(), bytes);
    EXPECT_EQ(*back.Programs[0], *list.Programs[0]);
}

TEST(DvbImportRefused, WrongLengthOrMissingMagic) {
    CSVLFile list;
    std::string reason;
    Bytes shortFile = File({Program("a")});
    shortFile.push_back(0);
    EXPECT_FALSE(ImportDvbList(shortFile, list, &reason));
    EXPECT_NE(reason.find("Vielfaches von 64"), std::string::npos) << reason;
    EXPECT_TRUE(list.Programs.empty());
    EXPECT_TRUE(list.Lnbs.Empty());

    Record bad = Program("b");
    bad.b[3] = 'X';
    EXPECT_FALSE(ImportDvbList(File({Program("a"), bad, Program("c")}), list, &reason));
    EXPECT_NE(reason.find("Datensatz 2 (Byte 64)"), std::string::npos) << reason;
    EXPECT_NE(reason.find("DVSO"), std::string::npos);
    EXPECT_TRUE(list.Programs.empty());

    EXPECT_FALSE(ImportDvbList(Bytes(63, 0), list, nullptr));
}

}  // namespace
