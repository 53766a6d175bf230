// The client library against a real server: the library starts nvdvbsrv from
// its registry entry, tunes, and collects tables with CTableFilter in its three
// modes from a real capture.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "ClientEnvironment.h"
#include "TsTestUtil.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CServerConnection.h"
#include "kestrel/CTableFilter.h"

namespace {

using Bytes = std::vector<uint8_t>;
const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";

kestrel::CPollDispatcher& Loop() { return kestrel::DefaultPollDispatcher(); }

struct Collected {
    CTableFilter* filter = nullptr;
    std::vector<std::vector<Bytes>> tables;  // one entry per callback
};

void OnTable(char* data, std::uint32_t) {
    auto* c = reinterpret_cast<Collected*>(data);
    std::vector<Bytes> table;
    for (int i = 0; i <= c->filter->GetLastSection(); ++i) {
        const int len = c->filter->GetPayLoadLength(i) + 3;
        const std::uint8_t* p = c->filter->GetBytePointer(i, 0);
        table.emplace_back(p, p + len);
    }
    c->tables.push_back(std::move(table));
}

class LibraryIntegrationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string capture = std::string(SVL_TESTDATA_DIR) + "/" + kRai;
        ts_ = testutil::ReadFile(capture);
        if (ts_.empty()) GTEST_SKIP() << "capture not found: " << capture;
        dir_ = testutil::IsolateClient("lib" + std::to_string(getpid()));
        const std::string config = (dir_ / "installation.conf").string();
        std::ofstream(config) << "[card]\nbase_port = " << 20000 + (getpid() % 390) * 100 + 50
                              << "\nspeed = 4\n[position A]\n"
                                 "transponder = 12188000 V 27500000 "
                              << capture << "\n";
        ASSERT_TRUE(
            testutil::RegisterServer(dir_, std::string(NVDVBSRV_PATH) + " --config " + config));
        ASSERT_TRUE(kestrel::CServerConnection::Instance().Connect())
            << kestrel::CServerConnection::Instance().LastError();
        CFrontend fe;
        std::uint16_t status = 0xFFFF;
        CHANNEL_TYPE ch;
        ch.Frequency = 12188000;
        ch.LOF = 10600000;
        ch.SymbolRate = 27500000;
        ch.Mode = 2;
        ch.LNBVoltage = 13;
        ch.Tone22kHz = 1;
        ASSERT_EQ(fe.zSetChannel(status, ch), 1);
        ASSERT_EQ(status, 0);
    }
    void TearDown() override { testutil::EndClient(dir_); }

    // Current sections of one table, independently extracted, by section number.
    std::map<int, Bytes> Expected(uint16_t pid, uint8_t table, int ext) {
        std::map<int, Bytes> out;
        for (auto& s : testutil::ExtractSections(ts_, pid)) {
            if (s[0] == table && (s[3] << 8 | s[4]) == ext) out[s[6]] = s;
        }
        return out;
    }
    // The first table id extension of a table with more than one section.
    int MultiSectionExtension(uint16_t pid, uint8_t table) {
        for (auto& s : testutil::ExtractSections(ts_, pid)) {
            if (s[0] == table && s[7] > 0) return s[3] << 8 | s[4];
        }
        return -1;
    }

    Bytes ts_;
    std::filesystem::path dir_;
};

}  // namespace

TEST_F(LibraryIntegrationTest, WholeTablesOfCurrentSectionsInModeZeroAndTwo) {
    const int ext = MultiSectionExtension(0x12, 0x4E);
    ASSERT_GE(ext, 0) << "no multi-section EIT in the capture";
    const auto expected = Expected(0x12, 0x4E, ext);
    for (int mode : {0, 2}) {
        Collected c;
        CTableFilter f(OnTable, reinterpret_cast<char*>(&c), 0);
        c.filter = &f;
        int err = -99;
        ASSERT_EQ(f.OpenFilter(0x12, 0x4E, uint16_t(ext), 1, &err, 1, mode), 0) << err;
        for (int i = 0; i < 300 && c.tables.empty(); ++i) Loop().RunOnce(10);
        f.CloseFilter();
        ASSERT_FALSE(c.tables.empty()) << "mode " << mode;
        const auto& table = c.tables.front();
        ASSERT_EQ(table.size(), expected.size()) << "mode " << mode;
        for (size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(table[i], expected.at(int(i))) << "mode " << mode << " section " << i;
        }
    }
}

TEST_F(LibraryIntegrationTest, EverySectionOnItsOwnInModeOne) {
    std::set<Bytes> expected;
    for (auto& s : testutil::ExtractSections(ts_, 0x11)) expected.insert(s);
    Collected c;
    CTableFilter f(OnTable, reinterpret_cast<char*>(&c), 0);
    c.filter = &f;
    int err = -99;
    ASSERT_EQ(f.OpenFilter(0x11, 0x46, 0, 0, &err, 0, 1), 0) << err;  // SDT other
    for (int i = 0; i < 100 && c.tables.size() < 8; ++i) Loop().RunOnce(10);
    f.CloseFilter();
    ASSERT_GE(c.tables.size(), 2u);
    for (const auto& t : c.tables) {
        ASSERT_EQ(t.size(), 1u);  // last section reads 0 inside the callback
        EXPECT_EQ(t[0][0], 0x46);
        EXPECT_TRUE(expected.count(t[0]));
    }
}
