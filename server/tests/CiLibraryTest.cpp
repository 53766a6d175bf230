// The library's common interface against the emulated card's virtual module:
// the card runs in this process (so that the test can look at its filters and
// at the answers its module got), the library connects to it as to any server
// and receives the module's messages at port offset 34.
#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CEmulatedCard.h"
#include "CServer.h"
#include "CUdpSender.h"
#include "ClientEnvironment.h"
#include "ProgramTables.h"
#include "TsTestUtil.h"
#include "kestrel/CCommonInterface.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/protocol/Names.h"

using namespace nvdvbsrv;

namespace {

const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
using Bytes = std::vector<uint8_t>;
using Reply = CVirtualCam::FilterReply;

kestrel::CPollDispatcher& Loop() { return kestrel::DefaultPollDispatcher(); }

// Keeps every module text (type, strings after byte 3) and input request.
class ModuleLog : public CCommonInterface {
  public:
    struct Text {
        char kind;  // 'm' menu, 'l' list, 's' string
        std::vector<std::string> strings;
    };
    std::vector<Text> texts;
    std::vector<std::pair<int, int>> inputs;  // blind, answer length

    void OnDisplayMenu(char* m, std::uint16_t n) override { Keep('m', m, n); }
    void OnDisplayList(char* m, std::uint16_t n) override { Keep('l', m, n); }
    void OnDisplayString(char* m, std::uint16_t n) override { Keep('s', m, n); }
    void OnInputRequest(int blind, std::uint8_t length, std::uint32_t) override {
        inputs.emplace_back(blind, length);
    }

  private:
    void Keep(char kind, const char* m, std::uint16_t n) {
        Text t{kind, {}};
        std::string cur;
        for (std::uint16_t i = 3; i < n; ++i) {
            if (m[i]) {
                cur.push_back(m[i]);
                continue;
            }
            t.strings.push_back(cur);
            cur.clear();
        }
        texts.push_back(std::move(t));
    }
};

class CiLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string capture = std::string(SVL_TESTDATA_DIR) + "/" + kRai;
        const Bytes ts = testutil::ReadFile(capture);
        if (ts.empty()) GTEST_SKIP() << "capture not found: " << capture;
        FindProgram(ts);
        ASSERT_NE(program_, 0) << "no program in the capture's PAT";
        dir_ = testutil::IsolateClient("cilib" + std::to_string(getpid()));
        const uint16_t port = uint16_t(20000 + (getpid() % 390) * 100 + 70);
        std::string err;
        auto inst = CInstallation::Parse("[card]\nbase_port = " + std::to_string(port) +
                                             "\ncam_slot = 1\n[position A]\n"
                                             "transponder = 12188000 V 27500000 " +
                                             capture + "\n",
                                         "", err);
        ASSERT_TRUE(inst) << err;
        sink_ = std::make_unique<CUdpSender>(inst->board.ip, port);
        card_ = std::make_unique<CEmulatedCard>(*inst, *sink_);
        CServer::Options options;
        options.suffix = kestrel::protocol::InstanceSuffix();
        server_ = std::make_unique<CServer>(*card_, options);
        ASSERT_TRUE(server_->Start(err)) << err;
        stop_ = eventfd(0, EFD_CLOEXEC);
        thread_ = std::thread([this] { server_->Run(stop_); });
        ASSERT_TRUE(testutil::RegisterServer(dir_, "/bin/true"));
        ASSERT_TRUE(kestrel::CServerConnection::Instance().Connect())
            << kestrel::CServerConnection::Instance().LastError();
        Tune();
        ASSERT_EQ(ci_.Init(), 1);
        ASSERT_TRUE(ci_.IsOpen());
    }
    void TearDown() override {
        ci_.Close();
        kestrel::CServerConnection::Instance().Disconnect();
        if (thread_.joinable()) {
            const uint64_t one = 1;
            EXPECT_EQ(write(stop_, &one, sizeof one), ssize_t(sizeof one));
            thread_.join();
        }
        if (stop_ >= 0) close(stop_);
        server_.reset();
        card_.reset();
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }

    void FindProgram(const Bytes& ts) {
        for (const Bytes& s : testutil::ExtractSections(ts, 0)) {
            const auto pat = ProgramTables::ParsePat(s);
            if (!pat || pat->empty()) continue;
            program_ = pat->front().program;
            pmtPid_ = pat->front().pmtPid;
            return;
        }
    }
    void Tune() {
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
    // Pumps the library's loop until `done` holds or two seconds passed.
    template <typename Done>
    bool PumpUntil(Done done) {
        for (int i = 0; i < 200 && !done(); ++i) Loop().RunOnce(10);
        return done();
    }
    bool Has(const Reply& r) {
        const auto replies = card_->Cam().Replies();
        return std::find(replies.begin(), replies.end(), r) != replies.end();
    }

    std::filesystem::path dir_;
    std::unique_ptr<CUdpSender> sink_;
    std::unique_ptr<CEmulatedCard> card_;
    std::unique_ptr<CServer> server_;
    int stop_ = -1;
    std::thread thread_;
    uint16_t program_ = 0, pmtPid_ = 0;
    ModuleLog ci_;
};

bool SameSetting(const SectionFilterSetting& s, uint16_t pid, const Bytes& filter,
                 const Bytes& mask) {
    return s.pid == pid && s.length == filter.size() && s.type == 4 &&
           std::equal(filter.begin(), filter.end(), s.filter.begin()) &&
           std::equal(mask.begin(), mask.end(), s.mask.begin());
}

}  // namespace

TEST_F(CiLibraryTest, SelectedProgramGetsTheModulesPatAndPmtFilters) {
    ASSERT_EQ(ci_.ReadPSIFast(program_), CCommonDVB::RET_OK);
    ASSERT_TRUE(PumpUntil([&] { return Has({true, 10, 0, 0}) && Has({true, 10, 1, 0}); }));
    const auto settings = card_->Filters().Settings();
    ASSERT_EQ(settings.size(), 2u);
    const Bytes pmt = {0x02, 0, 0, uint8_t(program_ >> 8), uint8_t(program_)};
    const Bytes pmtMask = {0xFF, 0, 0, 0xFF, 0xFF};
    EXPECT_TRUE(SameSetting(settings[0], 0, {0x00}, {0xFF}) ||
                SameSetting(settings[1], 0, {0x00}, {0xFF}));
    EXPECT_TRUE(SameSetting(settings[0], pmtPid_, pmt, pmtMask) ||
                SameSetting(settings[1], pmtPid_, pmt, pmtMask));

    // The next selection closes them first: two filters again, not four.
    ASSERT_EQ(ci_.SetProgram(program_), CCommonDVB::RET_OK);
    ASSERT_TRUE(PumpUntil([&] { return card_->Cam().Replies().size() >= 6; }));
    EXPECT_TRUE(Has({true, 11, 0, 0}));
    EXPECT_TRUE(Has({true, 11, 1, 0}));
    EXPECT_EQ(card_->Filters().Settings().size(), 2u);
    for (const Reply& r : card_->Cam().Replies()) EXPECT_TRUE(r.success) << int(r.type);
}

TEST_F(CiLibraryTest, PinEntryThroughTheModuleMenu) {
    ASSERT_EQ(ci_.EnterModuleMenu(1), 1);
    ASSERT_TRUE(PumpUntil([&] { return !ci_.texts.empty(); }));
    ASSERT_EQ(ci_.texts[0].kind, 'm');
    const auto& menu = ci_.texts[0].strings;
    const auto pin = std::find(menu.begin(), menu.end(), "PIN-Eingabe");
    ASSERT_NE(pin, menu.end());
    ASSERT_EQ(ci_.inputs.size(), 1u);                                  // a menu waits for one key
    const std::uint8_t choice = std::uint8_t(pin - menu.begin() - 2);  // after the three texts
    ASSERT_EQ(ci_.InputReply(&choice, 1), 1);
    ASSERT_TRUE(PumpUntil([&] { return ci_.inputs.size() == 2; }));
    EXPECT_EQ(ci_.inputs[1], (std::pair<int, int>{1, 4}));  // blind, four digits
    const std::uint8_t digits[4] = {1, 2, 3, 4};
    ASSERT_EQ(ci_.InputReply(digits, 4), 1);
    ASSERT_TRUE(PumpUntil([&] { return ci_.texts.size() == 3; }));
    EXPECT_EQ(ci_.texts[2].kind, 's');
    EXPECT_EQ(ci_.texts[2].strings, (std::vector<std::string>{"PIN korrekt"}));
}
