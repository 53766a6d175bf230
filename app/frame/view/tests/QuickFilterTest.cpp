// The quick filter: name or provider contains the text, case folded on the records'
// own bytes (Windows-1252), umlauts included.
#include <gtest/gtest.h>

#include "channellist/CProgramInfo.h"
#include "frame/view/CQuickFilter.h"

namespace {

CProgramInfo Program(const char* name, const char* provider) {
    CProgramInfo p;
    p.Name = name;
    p.Provider = provider;
    return p;
}

TEST(QuickFilter, MatchesNameOrProviderWithoutCase) {
    const CQuickFilter ard(QStringLiteral("ard"));
    EXPECT_TRUE(ard.Admits(Program("Das Erste", "ARD")));
    EXPECT_TRUE(
        ard.Admits(Program("BR Fernsehen S\xFC"
                           "d",
                           "ard")));
    EXPECT_TRUE(ard.Admits(Program("Hard Rock TV", "")));
    EXPECT_FALSE(ard.Admits(Program("ZDF", "ZDFvision")));
    EXPECT_TRUE(CQuickFilter().Admits(Program("", "")));
    EXPECT_TRUE(CQuickFilter().Empty());
}

TEST(QuickFilter, UmlautsFoldOnWindows1252Bytes) {
    const CQuickFilter sued(QString::fromUtf8("SÜD"));
    EXPECT_TRUE(
        sued.Admits(Program("SWR Fernsehen S\xFC"
                            "d",
                            "")));  // ü as 0xFC
    EXPECT_FALSE(sued.Admits(Program("SWR Fernsehen Sud", "")));
    EXPECT_EQ(CQuickFilter::Fold(0xC4), 0xE4);  // Ä
    EXPECT_EQ(CQuickFilter::Fold(0xD7), 0xD7);  // × is no letter
    EXPECT_EQ(CQuickFilter::Fold(0xDF), 0xDF);  // ß has no capital here
}

TEST(QuickFilter, TextNoListCanHoldMatchesNothing) {
    const CQuickFilter han(QString::fromUtf8("電視"));
    EXPECT_FALSE(han.Empty());
    EXPECT_FALSE(han.Admits(Program("", "")));
}

}  // namespace
