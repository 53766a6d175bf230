#include <gtest/gtest.h>

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
    EXPECT_TRUE(cam.Command(5, {}));
    ASSERT_TRUE(cam.Command(11, {}));
    EXPECT_EQ(rec.got[0][1], 0);
    EXPECT_EQ(rec.got[1][1], 0);
}
