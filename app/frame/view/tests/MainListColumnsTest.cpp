#include <gtest/gtest.h>

#include "channellist/CProgramInfo.h"
#include "frame/view/CMainListColumns.h"

namespace {

using C = CMainListColumns;

CProgramInfo Sample() {
    CProgramInfo p;
    p.Name = "Das Erste";
    p.Provider = "ARD";
    p.LnbName = "Astra 19.2";
    p.Frequency = 11836000;
    p.SymbolRate = 27500000;
    p.CiAccess = 3;
    p.ProgramType = 0x10001;
    p.PolarisationOrQam = 0;
    p.VideoPid = 101;
    p.AudioPid = 0x1FFF;
    p.PcrPid = 0;
    p.PmtPid = 0xABC;
    return p;
}

struct CellCase {
    int id;
    const char* decimal;
    const char* hex;
};

TEST(MainListColumns, CellTextOfEveryColumnInBothPidModes) {
    const CellCase cases[] = {
        {C::Blank, "", ""},
        {C::Nr, "42", "42"},
        {C::Programm, "Das Erste", "Das Erste"},
        {C::Provider, "ARD", "ARD"},
        {C::LnbName, "Astra 19.2", "Astra 19.2"},
        {C::Frequenz, "11836000", "11836000"},
        {C::Symbolrate, "27500000", "27500000"},
        {C::CiAccess, "3", "3"},
        {C::Programmtype, "2", "2"},
        {C::PolarisationOrQam, "Horizontal", "Horizontal"},
        {C::VPid, "101", "0065"},
        {C::APid, "8191", "1FFF"},
        {C::PcrPid, "0", "0000"},
        {C::PmtPid, "2748", "0ABC"},
        {14, "", ""},
    };
    const CProgramInfo p = Sample();
    for (const CellCase& c : cases) {
        EXPECT_EQ(C::CellText(p, 41, c.id, false), QString::fromUtf8(c.decimal)) << c.id;
        EXPECT_EQ(C::CellText(p, 41, c.id, true), QString::fromUtf8(c.hex)) << c.id;
    }
}

TEST(MainListColumns, PolarisationOrQamTexts) {
    CProgramInfo p = Sample();
    const std::pair<int, const char*> cases[] = {
        {0, "Horizontal"}, {1, "Vertical"}, {64, "64"}, {256, "256"}, {-1, "-1"}};
    for (const auto& [value, text] : cases) {
        p.PolarisationOrQam = value;
        EXPECT_EQ(C::CellText(p, 0, C::PolarisationOrQam, false), text);
    }
}

TEST(MainListColumns, KindImageAndFilterFollowTheKindBits) {
    struct Case {
        std::uint32_t type;
        int image;
        bool tv, radio, data;
    };
    const Case cases[] = {
        {0x01, 2, true, false, false},    {0x02, 1, false, true, false},
        {0x04, 0, false, false, true},    {0x08, 0, false, false, true},
        {0x05, 0, true, false, true},    // TV bit and data bit: shown as data, in both lists
        {0x03, 2, true, true, false},    // both kind bits: in both lists
        {0x00, 1, false, false, false},  // no kind bit: radio image, only in "Alle"
        {0x10002, 1, false, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(C::KindImage(c.type), c.image) << c.type;
        EXPECT_EQ(C::FilterAdmits(0, c.type), c.tv) << c.type;
        EXPECT_EQ(C::FilterAdmits(1, c.type), c.radio) << c.type;
        EXPECT_EQ(C::FilterAdmits(2, c.type), c.data) << c.type;
        EXPECT_TRUE(C::FilterAdmits(3, c.type)) << c.type;
    }
}

TEST(MainListColumns, CategoryHeaderPluralAndSingular) {
    EXPECT_EQ(C::CategoryHeader("ZDFvision", 2), "Providergruppe: 'ZDFvision' (2 Programme)");
    EXPECT_EQ(C::CategoryHeader("ZDFvision", 1), "Providergruppe: 'ZDFvision' (1 Programm )");
    EXPECT_EQ(C::CategoryHeader("", 12), "Providergruppe: '' (12 Programme)");
}

TEST(MainListColumns, RecordStringsAreWindows1252) {
    CProgramInfo p = Sample();
    p.Name = "Caf\xE9 \x80 \x93Sport\x94";  // é, euro sign, curly quotes
    p.Provider = "\x81";                    // undefined in Windows-1252: kept as U+0081
    EXPECT_EQ(C::CellText(p, 0, C::Programm, false), QString::fromUtf8("Café € “Sport”"));
    EXPECT_EQ(C::CellText(p, 0, C::Provider, false), QString(QChar(0x81)));
}

// Paper has no icons: the kind column prints the kind's name, every other column
// exactly the list's text.
TEST(MainListColumns, PrintTextIsTheListTextWithTheKindNamed) {
    CProgramInfo p = Sample();
    for (int id = C::Blank; id <= C::Count; ++id) {
        if (id == C::Programmtype) continue;
        EXPECT_EQ(C::PrintText(p, 7, id, true), C::CellText(p, 7, id, true)) << id;
    }
    const std::pair<std::uint32_t, const char*> kinds[] = {
        {0x01, "TV"}, {0x10001, "TV Verschlüsselt"}, {0x02, "Radio"}, {0x04, "Data"}};
    for (const auto& [type, name] : kinds) {
        p.ProgramType = type;
        EXPECT_EQ(C::PrintText(p, 0, C::Programmtype, false), QString::fromUtf8(name)) << type;
    }
}

TEST(MainListColumns, BuiltInLayoutHasTheFourteenColumns) {
    const CColumnLayout l = C::BuiltInLayout();
    ASSERT_EQ(l.Definitions().size(), 14u);
    EXPECT_EQ(l.Shown(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    const CColumnDef* type = l.Find(C::Programmtype);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->text, "Programmtype");
    EXPECT_EQ(type->flags, 0x60u);
    EXPECT_TRUE(type->IsImageColumn());
    EXPECT_EQ(l.Find(C::Blank)->width, 0);
    EXPECT_EQ(l.Find(C::Frequenz)->align, CColumnDef::Centre);
    EXPECT_EQ(l.Find(C::PolarisationOrQam)->width, 100);
    EXPECT_EQ(l.Find(C::PmtPid)->text, "PMT-PID");
    EXPECT_EQ(C::ListName(), "TheMainList");
}

}  // namespace
