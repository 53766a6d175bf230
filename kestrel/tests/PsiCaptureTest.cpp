// The PSI decoder on real broadcast captures: once through the table steps
// alone, fed with the file's sections, and once through an emulated card that
// plays the capture as its transponder. Either way the tree in the key store
// must match an independent reading of the file's tables.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>

#include "PsiCapture.h"
#include "RegistryKeyWriter.h"
#include "TestEnv.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CPsiDecoder.h"
#include "kestrel/CStreamInfo.h"
#include "kestrel/PsiTree.h"

namespace kestrel::test {
namespace {

const char* const kCaptures[] = {
    "tsduck-test_108_rai-dvbt-full-mux.ts",
    "tsduck-test_018_mediaset-psi-si.ts",
    "tsduck-test_012_arte-teletext.ts",
    "petrj-mpegts_de-dvbt2-626mhz-eit-schedule.ts",
};
const std::string kRoot = "SOFTWARE\\Norvane\\PSI";

std::filesystem::path CapturePath(const std::string& name) {
    return std::filesystem::path(SVL_TESTDATA_DIR) / name;
}

std::vector<std::uint8_t> Loop(const std::vector<PsiDescriptor>& descriptors) {
    std::vector<std::uint8_t> loop;
    for (const auto& d : descriptors) {
        loop.push_back(d.tag);
        loop.push_back(static_cast<std::uint8_t>(d.data.size()));
        loop.insert(loop.end(), d.data.begin(), d.data.end());
    }
    return loop;
}

void ExpectProgramMap(const CaptureProgram& want, const PsiProgram& got) {
    ASSERT_TRUE(want.hasPmt) << "a program map the file does not carry";
    EXPECT_EQ(got.pcrPid, want.pcrPid);
    ASSERT_EQ(got.streams.size(), want.streams.size());
    unsigned video = 0, audio = 0;
    for (std::size_t s = 0; s < want.streams.size(); ++s) {
        const auto& w = want.streams[s];
        const auto& g = got.streams[s];
        EXPECT_EQ(g.type, w.type) << "stream " << s;
        EXPECT_EQ(g.pid, w.pid) << "stream " << s;
        EXPECT_EQ(CStreamInfo(g.type, g.pid, Loop(g.descriptors)).GetLanguageText(), w.languageText)
            << "stream " << s;
        if (w.type == 2 && !video) video = w.pid;
        if ((w.type == 3 || w.type == 4) && !audio) audio = w.pid;
    }
    EXPECT_EQ(got.videoPid, video);
    EXPECT_EQ(got.audioPid, audio);
}

/// The tree against the file: the association table always, the program maps
/// of the programs whose map arrived, the service names when `named`.
void ExpectTree(const Capture& c, const PsiTree& tree, bool named) {
    EXPECT_EQ(tree.transportStreamId, c.tsid);
    ASSERT_EQ(tree.programs.size(), c.programs.size());
    for (std::size_t i = 0; i < c.programs.size(); ++i) {
        SCOPED_TRACE("program " + std::to_string(c.programs[i].number));
        const auto& want = c.programs[i];
        const auto& got = tree.programs[i];
        EXPECT_EQ(got.serviceId, want.number);
        EXPECT_EQ(got.pmtPid, want.pmtPid);
        if (got.pmtRead) ExpectProgramMap(want, got);
        const auto service = c.services.find(want.number);
        if (named && service != c.services.end()) {
            EXPECT_TRUE(got.inSdt);
            EXPECT_EQ(got.name, service->second.name);
            EXPECT_EQ(got.provider, service->second.provider);
        } else {
            EXPECT_FALSE(got.inSdt);
            char name[32];
            std::snprintf(name, sizeof name, "Service 0x%04X", want.number);
            EXPECT_EQ(got.name, name);
        }
    }
    if (named) {
        EXPECT_EQ(tree.originalNetworkId, c.onid);
    }
}

class PsiCapture : public KestrelTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        KestrelTest::SetUp();
        capture_ = ReadCapture(CapturePath(GetParam()));
        if (capture_.bytes.empty())
            GTEST_SKIP() << "capture not found: " << CapturePath(GetParam());
        ASSERT_FALSE(capture_.pat.empty()) << "no association table in the capture";
    }
    Capture capture_;
};

TEST_P(PsiCapture, TableStepsOnTheFileSectionsWriteTheTreeOfTheFile) {
    CRegistry store;
    ASSERT_TRUE(store.Open(registryPath_));
    const std::string path = kRoot + "\\steps";
    psi::CRegistryKeyWriter out(store, path);
    {
        psi::CRegistryKeyWriter::Batch batch(out);
        psi::ProgramSlots slots;
        const std::vector<psi::Bytes> pat(capture_.pat.begin(), capture_.pat.end());
        EXPECT_EQ(psi::DecodeAssociation(pat, slots, out), capture_.tsid);
        for (const auto& [number, section] : capture_.pmt)
            EXPECT_GE(psi::DecodeProgramMap(section, slots, out), 0);
        const std::vector<psi::Bytes> sdt(capture_.sdt.begin(), capture_.sdt.end());
        psi::DecodeServiceTable(sdt, slots, out);
    }
    PsiTree tree;
    ASSERT_TRUE(ReadPsiTree(store, path, tree));
    ExpectTree(capture_, tree, !capture_.sdt.empty());
    for (std::size_t i = 0; i < tree.programs.size(); ++i)
        EXPECT_EQ(tree.programs[i].pmtRead, capture_.programs[i].hasPmt) << i;
}

/// Which program maps the decoder can read from the file: filters wait for
/// their program's map, so a map the file lacks holds its filter for good.
std::size_t ReachableMaps(const Capture& c, bool& all) {
    std::vector<unsigned> pids;
    for (const auto& p : c.programs) pids.push_back(p.pmtPid);
    std::sort(pids.begin(), pids.end());
    const bool shared = std::adjacent_find(pids.begin(), pids.end()) != pids.end();
    std::vector<std::size_t> active;
    std::size_t next = 0, read = 0;
    while (active.size() < (shared ? 1u : 5u) && next < c.programs.size()) active.push_back(next++);
    for (bool moved = true; moved;) {
        moved = false;
        for (auto& a : active) {
            if (a == SIZE_MAX || !c.programs[a].hasPmt) continue;
            ++read;
            a = next < c.programs.size() ? next++ : SIZE_MAX;
            moved = true;
        }
    }
    all = std::all_of(active.begin(), active.end(), [](std::size_t a) { return a == SIZE_MAX; });
    return read;
}

class PsiCaptureCard : public PsiCapture {
  protected:
    void SetUp() override {
        PsiCapture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        const auto config = dir_ / "installation.conf";
        std::ofstream(config) << "[card]\nbase_port = " << 20000 + (getpid() % 390) * 100 + 70
                              << "\nspeed = 4\n[position A]\ntransponder = 12188000 V 27500000 "
                              << CapturePath(GetParam()).string() << "\n";
        SetServerPath(std::string(NVDVBSRV_PATH) + " --config " + config.string());
        ASSERT_TRUE(CServerConnection::Instance().Connect())
            << CServerConnection::Instance().LastError();
        CFrontend frontend;
        CHANNEL_TYPE channel;
        channel.Frequency = 12188000;
        channel.LOF = 10600000;
        channel.SymbolRate = 27500000;
        channel.Mode = 2;
        channel.LNBVoltage = 13;
        channel.Tone22kHz = 1;
        std::uint16_t status = 0xFFFF;
        ASSERT_EQ(frontend.zSetChannel(status, channel), 1);
        ASSERT_EQ(status, 0);
    }
    void TearDown() override {
        const int pid = CServerConnection::Instance().StartedServerPid();
        CServerConnection::Instance().Disconnect();
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        KestrelTest::TearDown();
    }
};

std::size_t MapsRead(CRegistry& store, const std::string& path, PsiTree& tree) {
    if (!ReadPsiTree(store, path, tree)) return 0;
    return static_cast<std::size_t>(std::count_if(tree.programs.begin(), tree.programs.end(),
                                                  [](const PsiProgram& p) { return p.pmtRead; }));
}

TEST_P(PsiCaptureCard, DecoderOnTheCardWritesTheTreeOfTheFile) {
    bool allMaps = false;
    const std::size_t reachable = ReachableMaps(capture_, allMaps);
    const bool complete = allMaps && !capture_.sdt.empty();
    CPsiDecoder decoder(registryPath_);
    ASSERT_EQ(decoder.StartDecoding(kRoot.c_str(), "card", "capture"), 0);
    CRegistry store;
    ASSERT_TRUE(store.Open(registryPath_));
    PsiTree tree;
    int pat = 0, maps = 0, sdt = 0, done = 0;
    std::uint32_t elapsed = 0;
    for (int round = 0; round < 2000 && elapsed < 20000; ++round) {
        DefaultPollDispatcher().RunOnce(10);
        done = decoder.GetProgress(pat, maps, sdt, elapsed);
        if (done || (!complete && pat && round % 20 == 0 &&
                     MapsRead(store, decoder.ResultPath(), tree) == reachable))
            break;
    }
    EXPECT_EQ(done, complete ? 1 : 0) << "elapsed " << elapsed << " ms";
    EXPECT_EQ(pat, 1);
    EXPECT_EQ(maps, allMaps ? 1 : 0);
    EXPECT_EQ(MapsRead(store, decoder.ResultPath(), tree), reachable);
    EXPECT_EQ(tree.userInfo, "capture");
    ExpectTree(capture_, tree, complete);
    decoder.AbortDecoding();
    EXPECT_EQ(decoder.GetProgress(pat, maps, sdt, elapsed), 0);
    EXPECT_EQ(pat + maps + sdt, 0);
}

std::string CaptureName(const ::testing::TestParamInfo<const char*>& info) {
    std::string name = std::string(info.param).substr(0, std::string(info.param).find('_', 13));
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Captures, PsiCapture, ::testing::ValuesIn(kCaptures), CaptureName);
INSTANTIATE_TEST_SUITE_P(Captures, PsiCaptureCard, ::testing::ValuesIn(kCaptures), CaptureName);

}  // namespace
}  // namespace kestrel::test
