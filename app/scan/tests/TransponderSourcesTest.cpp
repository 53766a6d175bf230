// Where the transponders come from: a list's programs on one LNB, the
// transponder file and its errors, the NIT, cable frequencies.
#include <gtest/gtest.h>

#include "channellist/CSVLFile.h"
#include "mpegts/tests/NitWriter.h"
#include "scan/TransponderSources.h"

namespace {

using Tps = std::vector<ScanTransponder>;

TEST(TransponderSources, DistinctTranspondersOfTheListOnOneLnb) {
    CSVLFile list;
    auto add = [&](const char* lnb, std::int32_t f, std::int32_t pol) {
        auto p = std::make_unique<CProgramInfo>();
        p->LnbName = lnb;
        p->Frequency = f;
        p->PolarisationOrQam = pol;
        p->SymbolRate = 27500000;
        list.Programs.push_back(std::move(p));
    };
    add("Astra", 11836000, 0);
    add("Hotbird", 11000000, 0);
    add("Astra", 12226000, 1);
    add("Astra", 11836000, 0);
    add("Astra", 11836000, 1);  // same frequency, other polarisation
    EXPECT_EQ(TransponderSources::FromList(list, "Astra"),
              (Tps{{11836000, 0, 27500000}, {12226000, 1, 27500000}, {11836000, 1, 27500000}}));
    EXPECT_TRUE(TransponderSources::FromList(list, "astra").empty());  // names are exact
}

TEST(TransponderSources, FileOfOneTransponderALine) {
    Tps out;
    std::string error;
    ASSERT_TRUE(TransponderSources::ParseTransponderFile(
        "# Astra 19.2 E\n11836000 H 27500000\n\n  12226000\tV  27500000  \r\n12544000 h 22000000",
        out, error))
        << error;
    EXPECT_EQ(out,
              (Tps{{11836000, 0, 27500000}, {12226000, 1, 27500000}, {12544000, 0, 22000000}}));
    ASSERT_TRUE(TransponderSources::ParseTransponderFile("", out, error));
    EXPECT_TRUE(out.empty());
}

TEST(TransponderSources, ABadLineIsAnErrorNamingItsNumber) {
    const char* bad[] = {"11836000 X 27500000",   "11836000 H",        "11836000 H 27500000 9",
                         "-11836000 H 27500000",  "11836000 H 2.75e7", "0 H 27500000",
                         "99999999999 H 27500000"};
    for (const char* line : bad) {
        Tps out;
        std::string error;
        EXPECT_FALSE(TransponderSources::ParseTransponderFile(
            std::string("# ok\n12226000 V 27500000\n\n") + line + "\n", out, error))
            << line;
        EXPECT_EQ(error.rfind("Zeile 4: ", 0), 0u) << error;
        EXPECT_NE(error.find(line), std::string::npos) << error;
    }
    Tps out;
    std::string error;
    EXPECT_FALSE(TransponderSources::ReadTransponderFile("/nonexistent/tp.txt", out, error));
    EXPECT_FALSE(error.empty());
}

TEST(TransponderSources, SatelliteAndCableTranspondersOfTheNit) {
    const auto bytes = nittest::Nit(
        1, {{1, 1, nittest::SatelliteOf(12226000, 1, 27500000)},
            {2, 1, nittest::Cable(0x03460000, 3, 0x0069000)},
            {3, 1, nittest::Satellite(0x01183600, 0x80 | 2 << 5 | 1, 0x0275000)},  // circular left
            {4, 1, nittest::SatelliteOf(12226000, 1, 27500000)},                   // again
            {5, 1, {}}});
    const auto nit = mpegts::ParseNit(bytes);
    ASSERT_TRUE(nit);
    EXPECT_EQ(TransponderSources::FromNit(*nit),
              (Tps{{12226000, 1, 27500000}, {346000, 64, 6900000}, {11836000, 0, 27500000}}));
}

TEST(TransponderSources, CableFrequenciesAndAppendingNewOnes) {
    const std::uint32_t f[] = {113000, 121000, 113000};
    Tps tps = TransponderSources::FromCableFrequencies(f, 256, 6900000);
    EXPECT_EQ(tps, (Tps{{113000, 256, 6900000}, {121000, 256, 6900000}}));
    EXPECT_TRUE(tps[0].IsCable());
    EXPECT_EQ(tps[0].Text(), "113000 QAM256 6900000");
    EXPECT_FALSE(TransponderSources::AppendNew(tps, {121000, 256, 6900000}));
    EXPECT_TRUE(TransponderSources::AppendNew(tps, {121000, 64, 6900000}));
    EXPECT_EQ(tps.size(), 3u);
}

}  // namespace
