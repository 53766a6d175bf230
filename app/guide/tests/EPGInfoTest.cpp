#include <gtest/gtest.h>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "guide/CEPGInfo.h"

namespace {

TEST(EPGInfo, NewRecordStartsOnNewYear2000) {
    const CEPGInfo info;
    const auto start = info.Start.ToCivil();
    ASSERT_TRUE(start);
    EXPECT_EQ(*start, (CivilDateTime{2000, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(info.Start.days, 36526.0);
    EXPECT_EQ(info.DurationMinutes(), 0);
}

TEST(EPGInfo, StoredFormRoundTripsWithUmlautsAndEndsWithTheHeaderBits) {
    CEPGInfo info;
    info.Program.Name = "Das Erste";
    info.ServiceName = "Das Erste";
    info.EventName = "Tatort: Tödliche Grüße";
    info.Description = "Ein Fall für zwei";
    info.ShortText = "Krimi";
    info.ContentHigh = 1;
    info.ContentLow = 2;
    info.Start = ArchiveDateTime::FromCivil({2024, 3, 11, 20, 15, 0, 0});
    info.Duration = {ArchiveDateTime::Valid, 90.0 / 1440.0};
    info.ParentalRating = 9;
    info.HeaderBit3 = 1;
    info.HeaderLow3 = 4;

    std::vector<std::uint8_t> bytes;
    CArchiveWriter out(bytes);
    info.Store(out);
    // The texts are Windows-1252 in the file: "ö" is one byte.
    EXPECT_NE(std::string(bytes.begin(), bytes.end())
                  .find("T\xF6"
                        "dliche"),
              std::string::npos);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[bytes.size() - 6], 9);  // rating, header bit 3 (32 bits), low bits
    EXPECT_EQ(bytes.back(), 4);

    CArchiveReader in(bytes);
    CEPGInfo back;
    back.Load(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(back, info);
    EXPECT_EQ(back.DurationMinutes(), 90);
}

TEST(EPGInfo, ShortInputFailsInTheReader) {
    std::vector<std::uint8_t> bytes;
    CArchiveWriter out(bytes);
    CEPGInfo().Store(out);
    bytes.resize(bytes.size() - 1);
    CArchiveReader in(bytes);
    CEPGInfo back;
    back.Load(in);
    EXPECT_TRUE(in.Failed());
}

}  // namespace
