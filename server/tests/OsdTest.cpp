// The card's on-screen display drawn into a frame: text, blocks, blending,
// stacking, bitmaps, and the requests that drive it.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "COsd.h"
#include "CRequestHandler.h"
#include "OsdFont.h"
#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/OsdBitmap.h"
#include "kestrel/protocol/ParamBlock.h"

using namespace nvdvbsrv;
namespace osd = kestrel::protocol::osd;

namespace {

constexpr uint32_t kGrey = 0xFF808080;
// The program's colours: entry 0 (Cb 255, Y 0, Cr 0) blue, entry 1 (Cb 64,
// Y 235, Cr 128) light yellow.
constexpr uint32_t kBlue = 0xFF0023EE;
constexpr uint32_t kYellow = 0xFFFFFF7D;

struct Frame {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(720 * 576, kGrey);
    uint32_t At(int x, int y) const { return pixels[size_t(y) * 720 + x]; }
};

Frame Composed(const COsd& o) {
    Frame f;
    o.Compose(f.pixels.data(), 720 * 4);
    return f;
}

// A 1-bit window as the program sets up its displays.
void ProgramWindow(COsd& o, uint32_t w, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    ASSERT_EQ(o.CreateWindow(w, 0, width, height), OsdStatus::Ok);
    ASSERT_EQ(o.MoveAbs(w, x, y), OsdStatus::Ok);
    ASSERT_EQ(o.SetColor(w, 2, 0, 255, 0), OsdStatus::Ok);
    ASSERT_EQ(o.SetColor(w, 2, 1, 64, 0xEB80), OsdStatus::Ok);
}

uint32_t Mix(uint32_t top, uint32_t below, uint32_t a) {
    uint32_t out = 0xFF000000u;
    for (int s = 0; s < 24; s += 8)
        out |= ((((top >> s) & 0xFF) * a + ((below >> s) & 0xFF) * (15 - a) + 7) / 15) << s;
    return out;
}

}  // namespace

TEST(OsdTest, TextIsDrawnWithTheCardsFontAtItsPlaceAndColours) {
    COsd o;
    ProgramWindow(o, 7, 30, 30, 320, 35);
    ASSERT_EQ(o.WriteText(7, 10, 4, "\xC4\xDF"), OsdStatus::Ok);  // "Äß" in ISO 8859-1
    const Frame f = Composed(o);
    const OsdFontFace* face = OsdFont(0);
    ASSERT_NE(face, nullptr);
    int lit = 0;
    for (int c = 0; c < 2; ++c)
        for (int gy = 0; gy < face->height; ++gy)
            for (int gx = 0; gx < face->width; ++gx) {
                const bool on = face->Pixel(c ? 0xDF : 0xC4, gx, gy);
                lit += on;
                ASSERT_EQ(f.At(40 + c * face->width + gx, 34 + gy), on ? kYellow : kBlue)
                    << c << " " << gx << "," << gy;
            }
    EXPECT_GT(lit, 40);                         // the glyphs are not blank
    EXPECT_EQ(f.At(30, 30), kBlue);             // the window's corner
    EXPECT_EQ(f.At(29, 30), kGrey);             // left of the window
    EXPECT_EQ(f.At(30 + 320, 30 + 34), kGrey);  // past its far corner
}

TEST(OsdTest, BlocksAndTheThreeKindsOfBlending) {
    COsd o;
    ProgramWindow(o, 7, 30, 30, 320, 35);
    ASSERT_EQ(o.DrawBlock(7, 170, 5, 40, 20, 1), OsdStatus::Ok);
    Frame f = Composed(o);
    EXPECT_EQ(f.At(200, 35), kYellow);  // block
    EXPECT_EQ(f.At(199, 35), kBlue);    // just left of it
    EXPECT_EQ(f.At(240, 35), kBlue);    // just right of it
    // As the volume display: background half through, block opaque.
    ASSERT_EQ(o.SetBlend(7, 2, 0, 8), OsdStatus::Ok);
    ASSERT_EQ(o.SetBlend(7, 2, 1, 15), OsdStatus::Ok);
    EXPECT_EQ(Composed(o).At(199, 35), kBlue);  // blends count only once switched on
    ASSERT_EQ(o.SetColorBlend(7), OsdStatus::Ok);
    f = Composed(o);
    EXPECT_EQ(f.At(199, 35), Mix(kBlue, kGrey, 8));
    EXPECT_EQ(f.At(200, 35), kYellow);
    ASSERT_EQ(o.SetBlend(7, 2, 0, 0), OsdStatus::Ok);
    EXPECT_EQ(Composed(o).At(199, 35), kGrey);  // fully transparent
    ASSERT_EQ(o.SetWindowBlend(7, 5), OsdStatus::Ok);
    f = Composed(o);
    EXPECT_EQ(f.At(199, 35), Mix(kBlue, kGrey, 5));
    EXPECT_EQ(f.At(200, 35), Mix(kYellow, kGrey, 5));
    ASSERT_EQ(o.ResetBlend(7), OsdStatus::Ok);
    EXPECT_EQ(Composed(o).At(199, 35), kBlue);
}

TEST(OsdTest, StackingHidingAndDestroying) {
    COsd o;
    ProgramWindow(o, 1, 0, 0, 100, 100);
    ProgramWindow(o, 2, 50, 50, 100, 100);
    ASSERT_EQ(o.DrawBlock(2, 0, 0, 100, 100, 1), OsdStatus::Ok);
    const uint64_t before = o.Revision();
    EXPECT_EQ(Composed(o).At(75, 75), kYellow);  // the later window lies on top
    ASSERT_EQ(o.BringToTop(1), OsdStatus::Ok);
    EXPECT_GT(o.Revision(), before);
    EXPECT_EQ(Composed(o).At(75, 75), kBlue);
    ASSERT_EQ(o.Hide(1), OsdStatus::Ok);
    Frame f = Composed(o);
    EXPECT_EQ(f.At(75, 75), kYellow);
    EXPECT_EQ(f.At(25, 25), kGrey);
    ASSERT_EQ(o.BringToTop(1), OsdStatus::Ok);  // shows it again
    EXPECT_EQ(Composed(o).At(25, 25), kBlue);
    ASSERT_EQ(o.MoveRel(2, 0xFFF6, 10), OsdStatus::Ok);  // 10 left, 10 down
    ASSERT_EQ(o.DestroyWindow(1), OsdStatus::Ok);
    f = Composed(o);
    EXPECT_EQ(f.At(25, 25), kGrey);
    EXPECT_EQ(f.At(40, 60), kYellow);
    EXPECT_EQ(f.At(39, 60), kGrey);
    EXPECT_EQ(f.At(40, 59), kGrey);
    EXPECT_EQ(o.DestroyWindow(1), OsdStatus::Ok);  // gone already: nothing to do
    EXPECT_EQ(o.Hide(1), OsdStatus::Failed);
}

TEST(OsdTest, ValuesOutsideTheCardsRangeAreRefused) {
    COsd o;
    EXPECT_EQ(o.CreateWindow(0, 0, 10, 10), OsdStatus::BadRequest);
    EXPECT_EQ(o.CreateWindow(8, 0, 10, 10), OsdStatus::BadRequest);
    EXPECT_EQ(o.CreateWindow(1, 4, 10, 10), OsdStatus::BadRequest);
    EXPECT_EQ(o.CreateWindow(1, 0, 721, 10), OsdStatus::BadRequest);
    ASSERT_EQ(o.CreateWindow(1, 0, 10, 10), OsdStatus::Ok);
    EXPECT_EQ(o.DrawBlock(1, 0, 0, 5, 5, 2), OsdStatus::BadRequest);  // 1 bit: colours 0, 1
    EXPECT_EQ(o.SetColor(1, 2, 2, 0, 0), OsdStatus::BadRequest);
    EXPECT_EQ(o.SetColor(1, 2, 1, 256, 0), OsdStatus::BadRequest);
    EXPECT_EQ(o.SetBlend(1, 2, 1, 16), OsdStatus::BadRequest);
    EXPECT_EQ(o.SetFont(1, 2, 1, 0), OsdStatus::BadRequest);
    EXPECT_EQ(o.DrawLine(1, 0, 0, 0x10000, 5, 1), OsdStatus::BadRequest);
    EXPECT_EQ(o.DrawLine(1, 0, 0, 0xFFFF, 0xFFFF, 1), OsdStatus::Ok);  // clipped
    EXPECT_EQ(o.BlitBitmap(1, 0, 0, 0), OsdStatus::Failed);            // no bitmap loaded
}

TEST(OsdTest, BitmapArrivesAsAnnouncedAndIsBlittedWithItsPalette) {
    COsd o;
    ASSERT_EQ(o.CreateWindow(3, 2, 100, 50), OsdStatus::Ok);  // 4 bits
    // A 2-bit bitmap 10 x 3: rows of 3 bytes; pixel x of row y is (x + y) % 4.
    ASSERT_EQ(o.LoadBitmap(1, 10, 3), OsdStatus::Ok);
    std::vector<uint8_t> palette(16, 0);
    for (int i = 0; i < 4; ++i)
        palette[i * 4 + 1] = 128, palette[i * 4 + 2] = uint8_t(16 + i * 73),
                        palette[i * 4 + 3] = 128;
    std::vector<uint8_t> image(9, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            image[y * 3 + x / 4] |= uint8_t(((x + y) % 4) << (6 - 2 * (x % 4)));
    o.BitmapDatagram(osd::BitmapDatagram(std::vector<uint8_t>(15, 0)));  // palette too short
    o.BitmapDatagram(osd::BitmapDatagram(palette));
    EXPECT_FALSE(o.BitmapComplete());  // the short palette dropped the transfer
    ASSERT_EQ(o.LoadBitmap(1, 10, 3), OsdStatus::Ok);
    o.BitmapDatagram(osd::BitmapDatagram(palette));
    o.BitmapDatagram(osd::BitmapDatagram(std::span(image).first(5)));
    EXPECT_FALSE(o.BitmapComplete());
    o.BitmapDatagram(osd::BitmapDatagram(std::span(image).subspan(5)));
    ASSERT_TRUE(o.BitmapComplete());
    o.BitmapDatagram(osd::BitmapDatagram(std::span(image).first(1)));  // nothing announced
    ASSERT_EQ(o.BlitBitmap(3, 20, 10, 0), OsdStatus::Ok);
    const Frame f = Composed(o);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) {
            const uint8_t v = uint8_t(std::min(255.0, (73 * ((x + y) % 4)) / 219.0 * 255 + 0.5));
            ASSERT_EQ(f.At(20 + x, 10 + y), 0xFF000000u | v << 16 | v << 8 | v) << x << "," << y;
        }
    EXPECT_EQ(f.At(30, 10), 0xFF000000u);  // index 0 of the window, now the bitmap's black
    ASSERT_EQ(o.CreateWindow(4, 0, 20, 20), OsdStatus::Ok);
    EXPECT_EQ(o.BlitBitmap(4, 0, 0, 0), OsdStatus::Failed);  // 2 bits into a 1-bit window
    ASSERT_EQ(o.ReleaseBitmap(), OsdStatus::Ok);
    EXPECT_EQ(o.BlitBitmap(3, 0, 0, 0), OsdStatus::Failed);
    EXPECT_EQ(o.LoadBitmap(0, 720, 576), OsdStatus::BadRequest);  // 51 840 bytes
    EXPECT_EQ(o.LoadBitmap(0, 512, 512), OsdStatus::Ok);          // 32 768 bytes
}

TEST(OsdTest, RequestsReachTheCardsDisplay) {
    struct Card : ICard {
        // Only the OSD is asked for; the rest of the card is not needed here.
        const BoardIdentity& Board() const override { return board; }
        bool BootFirmware(std::string_view) override { return false; }
        bool FirmwareRunning() const override { return false; }
        uint32_t FrontendType() const override { return 1; }
        bool Fails(StartStep) const override { return false; }
        bool SendDiseqc(std::span<const uint8_t>, uint8_t) override { return false; }
        bool Tune(const ChannelParams&) override { return false; }
        ChannelParams Channel() const override { return {}; }
        SignalFigures Signal() const override { return {}; }
        std::optional<uint16_t> AddSectionFilter(uint32_t, const SectionFilterSetting&) override {
            return std::nullopt;
        }
        bool RemoveFilter(uint32_t, uint16_t) override { return false; }
        void RemoveClient(uint32_t) override {}
        void SuspendClient(uint32_t) override {}
        void SetVideoPid(uint16_t) override {}
        void SetAudioPid(uint16_t) override {}
        uint16_t VideoPid() const override { return 0; }
        uint16_t AudioPid() const override { return 0; }
        VideoInfo Video() const override { return {}; }
        void SetPictureParameters(uint8_t, uint8_t, uint8_t) override {}
        void SetDecoderVolume(uint32_t, uint32_t) override {}
        void SetDecoderMute(bool) override {}
        void SetAudioChannel(uint32_t) override {}
        void SetSoundChipVolume(int32_t, int32_t) override {}
        void SetSoundChipMute(bool) override {}
        std::optional<uint16_t> StartTeletext(uint16_t) override { return std::nullopt; }
        bool StopTeletext(uint16_t) override { return false; }
        bool CiCommand(uint8_t, std::span<const uint8_t>) override { return false; }
        void SetRemoteControl(uint32_t, uint16_t) override {}
        bool PressKey(uint8_t) override { return false; }
        COsd& Osd() override { return osd; }
        CPostBox& Posts() override { return posts; }
        BoardIdentity board;
        COsd osd;
        CPostBox posts;
    } card;
    CRequestHandler handler(card);
    std::array<uint8_t, kestrel::protocol::kParamBlockSize> block{};
    auto run = [&](uint16_t code, std::initializer_list<uint32_t> slots) {
        kestrel::protocol::BlockWriter w(block);
        w.U16(0, code);
        size_t i = 0;
        for (uint32_t v : slots) w.U32(kestrel::protocol::Slot(i++), v);
        return handler.Handle(1, block);
    };
    EXPECT_EQ(run(90, {7, 0, 320, 35}), 1u);
    EXPECT_EQ(run(92, {7, 30, 30}), 1u);
    EXPECT_EQ(run(100, {7, 2, 0, 255, 0}), 1u);
    EXPECT_EQ(run(100, {7, 2, 1, 64, 0xEB80}), 1u);
    EXPECT_EQ(run(95, {7, 170, 5, 20, 20, 1}), 1u);
    block.fill(0);
    kestrel::protocol::BlockWriter w(block);
    w.U32(24, 0x00582058);  // "X X" and a NUL: the text ends there
    EXPECT_EQ(run(97, {7, 0, 0, 40}), 1u);
    EXPECT_EQ(run(97, {7, 0, 0, 385}), 10u);  // runs past the block
    const Frame f = Composed(card.osd);
    EXPECT_EQ(f.At(205, 40), kYellow);  // the block
    const OsdFontFace* face = OsdFont(0);
    int lit = 0;
    for (int y = 30; y < 30 + face->height; ++y)
        for (int x = 30; x < 30 + 4 * face->width; ++x) lit += f.At(x, y) == kYellow;
    EXPECT_GT(lit, 20);
    EXPECT_EQ(run(105, {}), 1u);  // the test picture replaces window 1
    EXPECT_NE(Composed(card.osd).At(100, 200), kGrey);
    EXPECT_EQ(run(91, {9}), 10u);
}
