// Device proxies: argument layouts, presets, handles and the library's own refusals.
#include <gtest/gtest.h>

#include <cstring>

#include "Connected.h"
#include "kestrel/CBoardControl.h"
#include "kestrel/CCommonInterface.h"
#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"
#include "kestrel/CPIDFilter.h"
#include "kestrel/CRecordPlayback.h"
#include "kestrel/CRemoteControl.h"
#include "kestrel/CTeletext.h"

namespace kestrel::test {
namespace {

using DeviceTest = ConnectedTest;
using protocol::BlockWriter;

TEST_F(DeviceTest, BootPathIsSentByLengthAndAnOversizedOneIsRefused) {
    Reply(1);
    CBoardControl board;
    const std::string fits(CBoardControl::kMaxBootPath, 'p');
    EXPECT_EQ(board.BootARM(fits.c_str()), CCommonDVB::RET_OK);
    EXPECT_EQ(Seen().U32(8), 396u);
    EXPECT_EQ(Seen().Text(12, 400), fits);
    const int before = Requests();
    const std::string tooLong(CBoardControl::kMaxBootPath + 1, 'p');
    EXPECT_EQ(board.BootARM(tooLong.c_str()), CCommonDVB::RET_INVALID);
    EXPECT_EQ(board.BootARM(nullptr), CCommonDVB::RET_INVALID);
    EXPECT_EQ(Requests(), before);
}

TEST_F(DeviceTest, InitStopsWhenInitPCIFails) {
    Reply(5);
    CBoardControl board;
    EXPECT_EQ(board.Init("/fw"), 5);
    EXPECT_EQ(server_->codes(), std::vector<std::uint16_t>{20});
    Reply(1);
    EXPECT_EQ(board.Init("/fw"), CCommonDVB::RET_OK);
    EXPECT_EQ(server_->codes().back(), 21);
}

TEST_F(DeviceTest, StatisticsNeverFillMoreThan36Counters) {
    Reply(1, [](BlockWriter& w) {
        for (std::uint32_t i = 0; i < 50; ++i) w.U32(8 + 4 * i, 100 + i);
    });
    CBoardControl board;
    std::uint32_t counters[50];
    std::fill(std::begin(counters), std::end(counters), 7u);
    EXPECT_EQ(board.GetStatistics(counters, 50), CCommonDVB::RET_OK);
    EXPECT_EQ(counters[0], 100u);
    EXPECT_EQ(counters[35], 135u);
    EXPECT_EQ(counters[36], 7u);
    EXPECT_EQ(counters[49], 7u);
}

// Reply strings: the server's lengths are not trusted.
TEST_F(DeviceTest, ReplyTextsAreBoundedByFieldAndBlock) {
    Reply(1, [](BlockWriter& w) {
        w.U32(8, 0);
        w.U32(12, 100000);  // ip length far past the block
        w.U32(16, 100000);
        for (std::size_t o = 20; o < 408; ++o) w.U8(o, 'A' + o % 26);  // no terminator anywhere
    });
    CBoardControl board;
    std::string ip, mask, mfg, type, text;
    int check = 0, result = 0;
    EXPECT_EQ(board.GetIP(ip, mask, check), CCommonDVB::RET_OK);
    EXPECT_EQ(ip.size(), 80u);    // up to the mask field
    EXPECT_EQ(mask.size(), 80u);  // up to the port field
    Reply(1, [](BlockWriter& w) {
        w.U32(8, 0xFFFFFFFF);
        w.U32(12, 0xFFFFFFFF);
        for (std::size_t o = 16; o < 408; ++o) w.U8(o, 'x');
    });
    EXPECT_EQ(board.GetBoardMfg(mfg, type), CCommonDVB::RET_OK);
    EXPECT_EQ(mfg.size(), 92u);
    EXPECT_EQ(type.size(), 300u);  // to the end of the block, not beyond
    EXPECT_EQ(board.GetSelfTestResult(result, text), CCommonDVB::RET_OK);
    EXPECT_EQ(text.size(), 392u);
}

TEST_F(DeviceTest, FirmwareVersionTextsFitTheirFields) {
    Reply(1, [](BlockWriter& w) {
        w.U32(8, 0x10230042);
        w.U32(12, 2);
        w.U32(16, 3);
        for (std::size_t o = 20; o < 408; ++o) w.U8(o, 'd');
    });
    CBoardControl board;
    BE_VERSION v;
    std::fill(std::begin(v.Date), std::end(v.Date), 0x55);
    std::fill(std::begin(v.Time), std::end(v.Time), 0x55);
    EXPECT_EQ(board.GetBEVersion(v), CCommonDVB::RET_OK);
    EXPECT_EQ(v.Firmware, 0x10230042u);
    EXPECT_EQ(std::strlen(v.Date), 12u);
    EXPECT_EQ(std::strlen(v.Time), sizeof v.Time - 1);
}

TEST_F(DeviceTest, MulticastListAndTpsAreCopiedFromTheirOffsets) {
    Reply(1, [](BlockWriter& w) {
        for (std::uint32_t k = 0; k < 20; ++k)
            w.U32(8 + 4 * k, 1000 + 8 + 4 * k);  // slot = 1000+offset
    });
    CFrontend fe;
    TYPE_TPS t;
    ASSERT_EQ(fe.GetTPS(t), CCommonDVB::RET_OK);
    const std::uint32_t b = 0xFF, w = 0xFFFF, d = 0xFFFFFFFF;
    struct {
        std::uint32_t got;
        std::uint32_t fromOffset;
        std::uint32_t mask;
    } table[] = {{t.dw0, 40, d},  {t.w4, 56, w},   {t.b6, 44, b},   {t.b7, 28, b},
                 {t.b8, 24, b},   {t.b9, 36, b},   {t.b10, 16, b},  {t.b11, 20, b},
                 {t.b12, 32, b},  {t.b13, 48, b},  {t.w14, 52, w},  {t.w16, 12, w},
                 {t.dw20, 64, d}, {t.dw24, 68, d}, {t.dw28, 60, d}, {t.dw32, 8, d}};
    for (auto& row : table)
        EXPECT_EQ(row.got, (1000 + row.fromOffset) & row.mask) << "from offset " << row.fromOffset;
    Reply(1, [](BlockWriter& w) {
        w.U32(8, 2);
        for (std::size_t o = 12; o < 118; ++o) w.U8(o, static_cast<std::uint8_t>(o));
        w.U32(120, 99);
    });
    CBoardControl board;
    _MC_LIST list;
    ASSERT_EQ(board.GetMulticastList(list), CCommonDVB::RET_OK);
    EXPECT_EQ(list.Count, 2u);
    EXPECT_EQ(list.Addresses[0], 12);
    EXPECT_EQ(list.Addresses[95], 107);
    EXPECT_EQ(list.Extra[0], 112);
    EXPECT_EQ(list.Value, 99u);
}

TEST_F(DeviceTest, FrontendConstructorSavesAndDestructorRestoresTheInterface) {
    std::uint16_t api = 4;
    server_->SetHandler([&](std::uint16_t code, std::span<std::uint8_t> block) {
        if (code == 4911) BlockWriter(block).U16(8, api);
        if (code == 4901) api = static_cast<std::uint16_t>(protocol::BlockReader(block).U32(8));
        return 1u;
    });
    auto first = std::make_unique<CFrontend>();
    EXPECT_EQ(CFrontend::SavedFrontendAPI(), 4);
    api = 6;
    auto second = std::make_unique<CFrontend>();
    EXPECT_EQ(CFrontend::SavedFrontendAPI(), 6);
    api = 99;
    first.reset();  // either destructor restores the later constructor's value
    EXPECT_EQ(api, 6);
    api = 99;
    second.reset();
    EXPECT_EQ(api, 6);
    // A failed query keeps the saved value.
    server_->SetHandler([](std::uint16_t, std::span<std::uint8_t> b) {
        BlockWriter(b).U16(8, 1);
        return 2u;
    });
    CFrontend third;
    EXPECT_EQ(CFrontend::SavedFrontendAPI(), 6);
}

TEST_F(DeviceTest, ChannelRecordTravelsAt12AndStatusComesBackAt8) {
    Reply(1, [](BlockWriter& w) { w.U16(8, 0); });
    CFrontend fe;
    CHANNEL_TYPE ch{11836000, 10600000, 27500000, 0, 2, 18, 1, 0};
    std::uint16_t status = 5;
    EXPECT_EQ(fe.zSetChannel(status, ch), CCommonDVB::RET_OK);
    EXPECT_EQ(status, 0);
    auto r = Seen();
    const std::uint32_t expect[8] = {11836000, 10600000, 27500000, 0, 2, 18, 1, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(r.U32(12 + 4 * i), expect[i]) << i;
}

TEST_F(DeviceTest, DiSEqCMessageLayout) {
    Reply(1);
    CFrontend fe;
    const std::uint8_t msg[4] = {0xE0, 0x10, 0x38, 0xF3};
    EXPECT_EQ(fe.SendDiSEqCMsg(msg, 4, 255, 0), CCommonDVB::RET_OK);
    auto r = Seen();
    EXPECT_EQ(r.U32(8), 4u);
    EXPECT_EQ(r.U32(12), 255u);
    EXPECT_EQ(r.U32(16), 0u);
    EXPECT_EQ(r.U32(20), 0xF33810E0u);
    std::vector<std::uint8_t> huge(400, 1);
    EXPECT_EQ(fe.zSendDiSEqCMsg(huge.data(), 400, 0, 0), CCommonDVB::RET_INVALID);
}

TEST_F(DeviceTest, BitFilterLayoutHandleAndRefusal) {
    Reply(1, [](BlockWriter& w) { w.U16(8, 5); });
    const std::uint8_t f[5] = {0x4E, 0, 0, 0x12, 0x34}, m[5] = {0xFF, 0, 0, 0xFF, 0xFF};
    {
        CPIDFilter filter;
        EXPECT_EQ(filter.SetBitFilter(0x12, f, m, 5, 5), CCommonDVB::RET_OK);
        EXPECT_EQ(filter.GetFilterHandle(), 5);
        auto r = Seen();
        EXPECT_EQ(r.U32(8), 0x12u);
        EXPECT_EQ(r.U8(12), 0x4E);
        EXPECT_EQ(r.U8(16), 0x34);
        EXPECT_EQ(r.U8(28), 0xFF);
        EXPECT_EQ(r.U8(31), 0xFF);
        EXPECT_EQ(r.U32(44), 5u);
        EXPECT_EQ(r.U32(48), 5u);
        const int before = Requests();
        EXPECT_EQ(filter.SetBitFilter(0x13, f, m, 5, 4), CCommonDVB::RET_INVALID);
        EXPECT_EQ(Requests(), before);
        EXPECT_EQ(filter.GetFilterHandle(), 5);
    }  // the destructor shuts it down
    EXPECT_EQ(lastCode_, 64);
    EXPECT_EQ(Seen().U32(8), 5u);
    CPIDFilter other;
    std::uint8_t big[17] = {};
    EXPECT_EQ(other.SetBitFilter(1, big, big, 17, 4), CCommonDVB::RET_INVALID);
}

TEST_F(DeviceTest, ShutDownWithoutFilterStillSendsAndKeepsHandleOnFailure) {
    Reply(3);
    CPIDFilter filter;
    EXPECT_EQ(filter.ShutDownFilter(), 3);
    EXPECT_EQ(Seen().U32(8), 0xFFFFu);
}

TEST_F(DeviceTest, TeletextOnTwiceIsRefused) {
    Reply(1, [](BlockWriter& w) { w.U16(8, 9); });
    CTeletext ttx;
    EXPECT_EQ(ttx.TTXOn(0x20), CCommonDVB::RET_OK);
    EXPECT_EQ(ttx.GetFilterHandle(), 9);
    EXPECT_EQ(ttx.TTXOn(0x21), CCommonDVB::RET_INVALID);
    EXPECT_EQ(ttx.GetFilterHandle(), 9);
    EXPECT_EQ(ttx.TTXOff(), CCommonDVB::RET_OK);
    EXPECT_EQ(ttx.GetFilterHandle(), CTeletext::kNoHandle);
}

TEST_F(DeviceTest, RemoteControlSwitchesOffOnlyWhenEnabled) {
    Reply(1);
    { CRemoteControl rc; }
    EXPECT_EQ(Requests(), 0);
    {
        CRemoteControl rc;
        EXPECT_EQ(rc.GetFilterHandle(), 37);
        EXPECT_EQ(rc.SetRemoteControl(IR_ON, 0xFFFF), CCommonDVB::RET_OK);
        EXPECT_TRUE(rc.IsEnabled());
    }
    EXPECT_EQ(Requests(), 2);
    EXPECT_EQ(Seen().U32(8), 0u);
    EXPECT_EQ(Seen().U32(12), 0xFFFFu);
}

TEST_F(DeviceTest, RecordingNameUpTo380Characters) {
    Reply(1);
    CRecordPlayback rec;
    const std::string name(380, 'n');
    EXPECT_EQ(rec.Open(name, RP_AUDIO_VIDEO_PES, 0), CCommonDVB::RET_OK);
    auto r = Seen();
    EXPECT_EQ(r.U32(8), 5u);
    EXPECT_EQ(r.U32(16), 380u);
    EXPECT_EQ(r.Text(20, 400), name);
    EXPECT_EQ(r.U8(400), 0);
    const int before = Requests();
    EXPECT_EQ(rec.Open(name + "x", RP_AUDIO_VIDEO_PES, 0), CCommonDVB::RET_INVALID);
    EXPECT_EQ(Requests(), before);
}

TEST_F(DeviceTest, DecoderStatusIsCopiedWhole) {
    Reply(1, [](BlockWriter& w) {
        w.U16(8 + 38, 720);
        w.U16(8 + 40, 576);
        w.U16(8 + 46, 4500);
    });
    CMPEGDecoder dec;
    VIDEOSTATE s;
    EXPECT_EQ(dec.GetDecoderStatus(&s), CCommonDVB::RET_OK);
    EXPECT_EQ(s.Width(), 720);
    EXPECT_EQ(s.Height(), 576);
    EXPECT_EQ(s.BitRate(), 4500);
}

class TestCI : public CCommonInterface {
  public:
    using CCommonInterface::ConvertCharBuf;
    using CCommonInterface::KeyPressed;
    using CCommonInterface::SendCICommand;
};

TEST_F(DeviceTest, CommonInterfaceSubCommands) {
    Reply(1);
    TestCI ci;
    EXPECT_EQ(ci.SetProgram(0x1234), CCommonDVB::RET_OK);
    auto r = Seen();
    EXPECT_EQ(lastCode_, 130);
    EXPECT_EQ(r.U32(8), 5u);
    EXPECT_EQ(r.U8(12), 0x12);
    EXPECT_EQ(r.U8(13), 0x34);
    EXPECT_EQ(r.U32(44), 2u);
    const int before = Requests();
    EXPECT_EQ(ci.KeyPressed(18), -1);
    EXPECT_EQ(Requests(), before);
    Reply(7);
    EXPECT_EQ(ci.EnterModuleMenu(1), 1);
    EXPECT_EQ(ci.GetSlotStatus(), 7);
    EXPECT_EQ(Seen().U32(8), 11u);
    const std::uint8_t keys[3] = {1, 20, 2};
    EXPECT_EQ(ci.InputReply(keys, 3), 1);
    EXPECT_EQ(Requests(), before + 4);  // key 20 refused
    std::vector<std::uint8_t> data(40, 0xAB);
    ci.SendCICommand(1, data.data(), 40);
    EXPECT_EQ(Seen().U32(44), 40u);  // the given length stays
    EXPECT_EQ(Seen().U8(43), 0xAB);  // 32 bytes copied ...
    EXPECT_NE(Seen().U8(44), 0xAB);  // ... and no more
}

TEST(CommonInterfaceText, ConvertCharBufCutsAtTheLineMark) {
    std::string t = "Hallo\x8AWelt";
    EXPECT_EQ(TestCI::ConvertCharBuf(t, static_cast<int>(t.size())), 6);
    EXPECT_EQ(t, "Hallo");
    std::string u = "abc";
    EXPECT_EQ(TestCI::ConvertCharBuf(u, 3), 3);
    EXPECT_EQ(u, "abc");
    std::string v = "ab\x8A";
    EXPECT_EQ(TestCI::ConvertCharBuf(v, 2), 2);  // only the first count bytes are searched
}

}  // namespace
}  // namespace kestrel::test
