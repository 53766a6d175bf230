#include <gtest/gtest.h>

#include <algorithm>

#include "CVirtualCam.h"

using namespace nvdvbsrv;
using Bytes = std::vector<uint8_t>;

namespace {

struct Recorder : IDatagramSink {
    std::vector<Bytes> got;
    void Send(uint16_t port, std::span<const uint8_t> d) override {
        EXPECT_EQ(port, CVirtualCam::kPort);
        got.emplace_back(d.begin(), d.end());
    }
};

// The zero-terminated strings of a menu, list or text message after byte 3.
std::vector<std::string> Strings(const Bytes& msg) {
    std::vector<std::string> out;
    std::string cur;
    for (size_t i = 3; i < msg.size(); ++i) {
        if (msg[i] == 0) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(char(msg[i]));
        }
    }
    return out;
}

bool Key(CVirtualCam& cam, uint8_t k) {
    const uint8_t d[1] = {k};
    return cam.Command(3, d);
}

}  // namespace

TEST(VirtualCamTest, SlotStatusNamesTheSlotWithTheModule) {
    Recorder rec;
    CVirtualCam cam(rec, 2);
    ASSERT_TRUE(cam.Command(11, {}));
    ASSERT_EQ(rec.got.size(), 2u);
    EXPECT_EQ(rec.got[0], (Bytes{1, 0, 1, 0}));  // slot 1 empty
    EXPECT_EQ(rec.got[1], (Bytes{1, 2, 2, 0}));  // slot 2 ready
}

TEST(VirtualCamTest, MenuTreeFollowsTheKeys) {
    Recorder rec;
    CVirtualCam cam(rec, 1);
    const uint8_t slot2[1] = {2}, slot1[1] = {1};
    ASSERT_TRUE(cam.Command(9, slot2));
    EXPECT_TRUE(rec.got.empty());  // nothing in slot 2
    ASSERT_TRUE(cam.Command(9, slot1));
    ASSERT_EQ(rec.got.size(), 1u);
    EXPECT_EQ(rec.got[0][0], 2);  // menu
    const auto menu = Strings(rec.got[0]);
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_EQ(menu[0], "Demo-CAM");
    EXPECT_EQ(menu[1], "Hauptmen\xFC");  // ISO 8859-1
    EXPECT_EQ(menu[3], "Modulinformation");

    ASSERT_TRUE(Key(cam, 1));
    EXPECT_EQ(rec.got.back()[0], 3);  // list
    EXPECT_EQ(Strings(rec.got.back())[0], "Modulinformation");
    ASSERT_TRUE(Key(cam, 5));  // any key: back to the menu
    EXPECT_EQ(rec.got.back()[0], 2);

    // PIN entry: a blind input request of four digits.
    ASSERT_TRUE(Key(cam, 3));
    EXPECT_EQ(rec.got.back()[0], 5);
    EXPECT_EQ(rec.got.back()[1], 1);
    EXPECT_EQ(rec.got.back()[2], 4);
    for (uint8_t k : {1, 2, 3}) ASSERT_TRUE(Key(cam, k));
    const size_t before = rec.got.size();
    ASSERT_TRUE(Key(cam, 4));
    ASSERT_EQ(rec.got.size(), before + 1);
    EXPECT_EQ(Strings(rec.got.back())[0], "PIN korrekt");
    ASSERT_TRUE(Key(cam, 1));  // back to the menu
    ASSERT_TRUE(Key(cam, 0));  // the module closes its menu
    EXPECT_EQ(rec.got.back(), (Bytes{9, 0, 0}));
    const size_t closed = rec.got.size();
    ASSERT_TRUE(Key(cam, 1));
    EXPECT_EQ(rec.got.size(), closed);  // a closed menu ignores keys
}

TEST(VirtualCamTest, MalformedRequestsAreRefused) {
    Recorder rec;
    CVirtualCam cam(rec, 0);
    EXPECT_FALSE(cam.Command(9, {}));   // no slot byte
    EXPECT_FALSE(cam.Command(3, {}));   // no key byte
    EXPECT_FALSE(cam.Command(77, {}));  // unknown sub-command
    EXPECT_FALSE(cam.Command(5, {}));   // no program number
    ASSERT_TRUE(cam.Command(11, {}));
    EXPECT_EQ(rec.got[0][1], 0);
    EXPECT_EQ(rec.got[1][1], 0);
}

TEST(VirtualCamTest, InsertedModuleBecomesReadyAfterHalfASecond) {
    Recorder rec;
    CVirtualCam cam(rec, 0);
    const auto t0 = CVirtualCam::Clock::now();
    EXPECT_FALSE(cam.Remove(1));  // empty already
    EXPECT_FALSE(cam.Insert(3));  // no such slot
    ASSERT_TRUE(cam.Insert(1, t0));
    EXPECT_FALSE(cam.Insert(1, t0));
    ASSERT_EQ(rec.got.size(), 1u);
    EXPECT_EQ(rec.got[0], (Bytes{1, 1, 1, 0}));  // module in slot
    const uint8_t slot1[1] = {1};
    ASSERT_TRUE(cam.Command(9, slot1));
    EXPECT_EQ(rec.got.size(), 1u);  // a starting module shows no menu
    cam.Tick(t0 + std::chrono::milliseconds(499));
    EXPECT_EQ(rec.got.size(), 1u);
    cam.Tick(t0 + CVirtualCam::kReadyDelay);
    ASSERT_EQ(rec.got.size(), 2u);
    EXPECT_EQ(rec.got[1], (Bytes{1, 2, 1, 0}));
    cam.Tick(t0 + std::chrono::seconds(5));
    EXPECT_EQ(rec.got.size(), 2u);  // said once
    EXPECT_EQ(cam.Status(1), 2);
}

TEST(VirtualCamTest, RemovingTheModuleClosesItsMenu) {
    Recorder rec;
    CVirtualCam cam(rec, 2);
    const uint8_t slot2[1] = {2};
    ASSERT_TRUE(cam.Command(9, slot2));
    ASSERT_EQ(rec.got.back()[0], 2);
    EXPECT_EQ(rec.got.back()[1], 2);  // the slot of the menu
    ASSERT_TRUE(cam.Remove(2));
    ASSERT_GE(rec.got.size(), 3u);
    EXPECT_EQ(rec.got[1], (Bytes{1, 0, 2, 0}));
    EXPECT_EQ(rec.got[2], (Bytes{9, 0, 0}));
    const size_t n = rec.got.size();
    ASSERT_TRUE(Key(cam, 1));
    EXPECT_EQ(rec.got.size(), n);
    // Another slot's removal leaves an open menu alone.
    ASSERT_TRUE(cam.Insert(1, CVirtualCam::Clock::now() - std::chrono::seconds(1)));
    cam.Tick();
    const uint8_t slot1[1] = {1};
    ASSERT_TRUE(cam.Command(9, slot1));
    ASSERT_TRUE(cam.Insert(2));
    ASSERT_TRUE(cam.Remove(2));
    EXPECT_EQ(rec.got.back(), (Bytes{1, 0, 2, 0}));
}

TEST(VirtualCamTest, NoModuleTextHoldsTheLineEndByte) {
    Recorder rec;
    CVirtualCam cam(rec, 1);
    const uint8_t slot1[1] = {1};
    ASSERT_TRUE(cam.Command(9, slot1));
    for (uint8_t k : {1, 9, 2, 9, 3, 1, 2, 3, 5, 9, 3, 1, 2, 3, 4, 9, 0}) ASSERT_TRUE(Key(cam, k));
    EXPECT_GE(rec.got.size(), 10u);
    for (const Bytes& m : rec.got)
        EXPECT_EQ(std::count(m.begin(), m.end(), uint8_t(0x8A)), 0) << int(m[0]);
}

TEST(VirtualCamTest, SelectedProgramBringsFilterRequestsForPatAndPmt) {
    Recorder rec;
    std::vector<uint16_t> asked;
    CVirtualCam cam(rec, 1, [&](uint16_t program) -> std::optional<uint16_t> {
        asked.push_back(program);
        if (program == 0x1234) return uint16_t(0x0ABC);
        return std::nullopt;
    });
    const uint8_t program[2] = {0x12, 0x34};
    ASSERT_TRUE(cam.Command(10, program));  // ReadPSIFast
    ASSERT_EQ(rec.got.size(), 2u);
    EXPECT_EQ(rec.got[0], (Bytes{10, 0x00, 0, 0, 0, 0, 0}));              // PAT, filter 0
    EXPECT_EQ(rec.got[1], (Bytes{10, 0x02, 0x12, 0x34, 0x0A, 0xBC, 1}));  // PMT, filter 1
    EXPECT_EQ(asked, (std::vector<uint16_t>{0x1234}));

    // The next selection closes both first; a program without PMT gets the PAT only.
    const uint8_t other[2] = {0, 7};
    ASSERT_TRUE(cam.Command(5, other));  // SetProgram
    ASSERT_EQ(rec.got.size(), 5u);
    EXPECT_EQ(rec.got[2], (Bytes{11, 0}));
    EXPECT_EQ(rec.got[3], (Bytes{11, 1}));
    EXPECT_EQ(rec.got[4], (Bytes{10, 0x00, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(cam.Command(5, std::span<const uint8_t>(other, 1)));

    // The program's answers are kept; short ones are not.
    const uint8_t done[2] = {10, 0}, failed[3] = {10, 2, 1}, shortFailure[2] = {10, 2};
    ASSERT_TRUE(cam.Command(1, done));
    ASSERT_TRUE(cam.Command(0, failed));
    ASSERT_TRUE(cam.Command(0, shortFailure));
    const auto replies = cam.Replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0], (CVirtualCam::FilterReply{true, 10, 0, 0}));
    EXPECT_EQ(replies[1], (CVirtualCam::FilterReply{false, 10, 1, 2}));

    // Without a ready module nothing is asked; the module's filters go with it.
    ASSERT_TRUE(cam.Remove(1));
    EXPECT_EQ(rec.got.back(), (Bytes{11, 0}));
    const size_t n = rec.got.size();
    ASSERT_TRUE(cam.Command(10, program));
    EXPECT_EQ(rec.got.size(), n);
}
