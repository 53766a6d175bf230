// Programs from the decoded tables, field by field, and the kind and
// encryption bits from the service type, the streams and the CA mode.
#include <gtest/gtest.h>

#include "scan/ScanPrograms.h"

namespace {

kestrel::PsiProgram Tv() {
    kestrel::PsiProgram p;
    p.serviceId = 28106;
    p.pmtPid = 100;
    p.pcrPid = 101;
    p.videoPid = 101;
    p.audioPid = 102;
    p.teletextPid = 104;
    p.pmtRead = true;
    p.inSdt = true;
    p.name = "Bayerisches FS Süd";
    p.provider = "ARD";
    p.serviceType = 1;
    p.streams = {{2, 101, 1, {{0x52, {0x01}}}},
                 {3, 102, 2, {{0x52, {0x02}}, {0x0A, {'d', 'e', 'u', 0}}}},
                 {6, 104, 9, {{0x56, {'d', 'e', 'u', 0x09, 0x00}}}}};
    return p;
}

TEST(ScanPrograms, BuildsEveryFieldOfTheListRecord) {
    kestrel::PsiTree tree;
    tree.transportStreamId = 1101;
    tree.originalNetworkId = 133;
    const ScanPrograms::Origin origin{"Astra 19\xB0", {11836000, 1, 27500000}, 1};
    const CProgramInfo p = ScanPrograms::Build(Tv(), tree, origin);
    EXPECT_EQ(p.Name,
              "Bayerisches FS S\xFC"
              "d");  // Windows-1252
    EXPECT_EQ(p.Provider, "ARD");
    EXPECT_EQ(p.FrontendType, ScanPrograms::SatelliteFrontend);
    EXPECT_EQ(p.LnbName, "Astra 19\xB0");
    EXPECT_EQ(p.Frequency, 11836000);
    EXPECT_EQ(p.PolarisationOrQam, 1);
    EXPECT_EQ(p.SymbolRate, 27500000);
    EXPECT_EQ(p.ProgramType, 1u);
    EXPECT_EQ(p.CiAccess, 0);
    EXPECT_EQ(p.TransportStreamId, 1101);
    EXPECT_EQ(p.NetworkId, 1);
    EXPECT_EQ(p.OriginalNetworkId, 133);
    EXPECT_EQ(p.ServiceId, 28106);
    EXPECT_EQ(p.PcrPid, 101);
    EXPECT_EQ(p.PmtPid, 100);
    EXPECT_EQ(p.VideoPid, 101);
    EXPECT_EQ(p.AudioPid, 102);
    EXPECT_EQ(p.TeletextPid, 104);
    ASSERT_EQ(p.Streams.size(), 3u);
    EXPECT_EQ(p.Streams[1].StreamType, 3);
    EXPECT_EQ(p.Streams[1].Pid, 102);
    EXPECT_EQ(p.Streams[1].Descriptors,
              ByteBlock({0x52, 0x01, 0x02, 0x0A, 0x04, 'd', 'e', 'u', 0}));
    EXPECT_EQ(p.Streams[1].LanguageCode(), "deu");
    EXPECT_TRUE(p.ProgramData1.empty());
}

TEST(ScanPrograms, CableTransponderAndNoNetworkInformation) {
    kestrel::PsiTree tree;
    const CProgramInfo p = ScanPrograms::Build(Tv(), tree, {"Kabel", {346000, 64, 6900000}, {}});
    EXPECT_EQ(p.FrontendType, ScanPrograms::CableFrontend);
    EXPECT_EQ(p.PolarisationOrQam, 64);
    EXPECT_EQ(p.NetworkId, 0);
    EXPECT_EQ(p.OriginalNetworkId, 0);
}

TEST(ScanPrograms, KindFromTheServiceTypeElseFromTheStreams) {
    auto p = Tv();
    p.scrambled = 1;
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 0x10001u);
    p.scrambled = 0;
    p.serviceType = 0x19;  // advanced codec HD TV
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 1u);
    p.serviceType = 0x02;
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 2u);
    p.serviceType = 0x0C;
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 0x0Cu);

    // No SDT entry: the streams tell, and a CA descriptor the encryption.
    p.inSdt = false;
    p.serviceType = 0;
    p.scrambled = 1;  // not from an SDT: ignored
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 1u);
    p.streams.erase(p.streams.begin());
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 2u);
    p.streams[0].descriptors.push_back({0x09, {0x17, 0x02, 0xE1, 0x00}});
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 0x10002u);
    p.streams.clear();
    EXPECT_EQ(ScanPrograms::ProgramTypeOf(p), 0x0Cu);
}

TEST(ScanPrograms, OnlyProgramsWithAProgramMapTheRestKeepTheDecodersName) {
    kestrel::PsiTree tree;
    tree.programs = {Tv(), Tv(), Tv()};
    tree.programs[1].pmtRead = false;  // named in the SDT only
    tree.programs[1].serviceId = 2;
    tree.programs[2].inSdt = false;
    tree.programs[2].serviceId = 3;
    tree.programs[2].name = "Service 0x0003";
    tree.programs[2].serviceType = 0;
    const auto all = ScanPrograms::BuildAll(tree, {"Astra", {11836000, 0, 27500000}, {}});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].ServiceId, 28106);
    EXPECT_EQ(all[1].ServiceId, 3);
    EXPECT_EQ(all[1].Name, "Service 0x0003");
    EXPECT_EQ(all[1].ProgramType, 1u);
}

}  // namespace
