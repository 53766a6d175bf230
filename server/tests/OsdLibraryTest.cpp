// The library's LoadBMP against the card: the card runs in this process (so
// that the test can look at its display), the library connects to it as to
// any server, sends a BMP file, and the blitted bitmap shows with the file's
// palette.
#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "CEmulatedCard.h"
#include "CServer.h"
#include "ClientEnvironment.h"
#include "kestrel/COverlay.h"
#include "kestrel/protocol/Names.h"

using namespace nvdvbsrv;

namespace {

struct NullSink : IDatagramSink {
    void Send(uint16_t, std::span<const uint8_t>) override {}
};

void Put(std::vector<uint8_t>& b, uint32_t v, int n) {
    // Little-endian; bytes past the value's four are 0.
    for (int i = 0; i < n; ++i) b.push_back(i < 4 ? uint8_t(v >> (8 * i)) : 0);
}

// 1-bit 512 x 512: the left half of every row colour 1, a 2-entry palette
// (blue, green, red, 0) of red and blue.
std::string WriteHalves(const std::filesystem::path& dir) {
    std::vector<uint8_t> b{'B', 'M'};
    Put(b, 0, 8);
    Put(b, 62, 4);
    for (uint32_t v : {40u, 512u, 512u}) Put(b, v, 4);
    Put(b, 1, 2);
    Put(b, 1, 2);
    Put(b, 0, 24);
    for (uint8_t v : {0, 0, 255, 0, 255, 0, 0, 0}) b.push_back(v);
    for (int r = 0; r < 512; ++r) {
        b.insert(b.end(), 32, 0xFF);
        b.insert(b.end(), 32, 0x00);
    }
    const auto path = dir / "halves.bmp";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return path.string();
}

class OsdLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = testutil::IsolateClient("osdlib" + std::to_string(getpid()));
        std::string err;
        auto inst = CInstallation::Parse(
            "[card]\nbase_port = " + std::to_string(20000 + (getpid() % 390) * 100 + 60) + "\n", "",
            err);
        ASSERT_TRUE(inst) << err;
        card_ = std::make_unique<CEmulatedCard>(*inst, sink_);
        ASSERT_TRUE(card_->OsdReceiving());
        CServer::Options options;
        options.suffix = kestrel::protocol::InstanceSuffix();
        server_ = std::make_unique<CServer>(*card_, options);
        ASSERT_TRUE(server_->Start(err)) << err;
        stop_ = eventfd(0, EFD_CLOEXEC);
        thread_ = std::thread([this] { server_->Run(stop_); });
        // The library starts the registered program every time; the card of
        // this process holds the instance, so any program that ends will do.
        ASSERT_TRUE(testutil::RegisterServer(dir_, "/bin/true"));
        ASSERT_TRUE(kestrel::CServerConnection::Instance().Connect())
            << kestrel::CServerConnection::Instance().LastError();
    }
    void TearDown() override {
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
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path dir_;
    NullSink sink_;
    std::unique_ptr<CEmulatedCard> card_;
    std::unique_ptr<CServer> server_;
    int stop_ = -1;
    std::thread thread_;
};

}  // namespace

TEST_F(OsdLibraryTest, LoadedBitmapShowsWithTheFilesPalette) {
    COverlay overlay;
    ASSERT_EQ(overlay.LoadBMP(WriteHalves(dir_)), CCommonDVB::RET_OK);
    ASSERT_TRUE(card_->Osd().BitmapComplete());
    ASSERT_EQ(overlay.CreateOSDWindow(2, DISPTYPE(0), 600, 540), CCommonDVB::RET_OK);
    ASSERT_EQ(overlay.MoveWindowAbs(2, 20, 10), CCommonDVB::RET_OK);
    ASSERT_EQ(overlay.BlitBitmap(2, 4, 6, 0), CCommonDVB::RET_OK);
    std::vector<uint32_t> frame(720 * 576, 0xFF808080);
    card_->Osd().Compose(frame.data(), 720 * 4);
    auto at = [&](int x, int y) { return frame[size_t(y) * 720 + x]; };
    // Red and blue as the library converted them (Cb, Y, Cr 90, 81, 240 and
    // 240, 41, 110) and the card shows them again.
    const uint32_t red = OsdRgb({81, 90, 240, 15});
    const uint32_t blue = OsdRgb({41, 240, 110, 15});
    EXPECT_EQ(red, 0xFFFE0000u);
    EXPECT_EQ(blue, 0xFF0000FFu);
    for (int y : {16, 200, 16 + 511})
        for (auto [x, colour] :
             {std::pair{24, blue}, {24 + 255, blue}, {24 + 256, red}, {24 + 511, red}})
            EXPECT_EQ(at(x, y), colour) << x << "," << y;
    EXPECT_EQ(at(24 + 512, 100), red);    // the window beyond the bitmap keeps index 0,
    EXPECT_EQ(at(24, 15), red);           // whose colour is now the bitmap's
    EXPECT_EQ(at(19, 100), 0xFF808080u);  // outside the window
}
