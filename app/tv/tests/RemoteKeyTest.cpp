// Remote-control datagrams: which are keys, and where each key goes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "common/PrivateMessages.h"
#include "receiver/CFakeDeviceSet.h"
#include "tv/CRemoteKeySocket.h"

namespace {

/// Records the private messages it gets as "number:w:l".
class Window : public QObject {
  public:
    bool event(QEvent* e) override {
        if (!PrivateMessageEvent::IsPrivate(e)) return QObject::event(e);
        const auto* m = static_cast<PrivateMessageEvent*>(e);
        got.push_back(std::to_string(m->number()) + ":" + std::to_string(m->wParam()) + ":" +
                      std::to_string(m->lParam()));
        return true;
    }
    std::vector<std::string> got;
};

using Got = std::vector<std::string>;

TEST(RemoteKeyDatagram, OnlyTwoBytesWithTheKeyFlag) {
    const std::uint8_t key[] = {0x45, 0x80}, noFlag[] = {5, 0x00}, three[] = {5, 0x80, 0},
                       one[] = {5}, high[] = {47, 0x80};
    EXPECT_EQ(CRemoteKeySocket::KeyOf(key), 5);  // low six bits
    EXPECT_EQ(CRemoteKeySocket::KeyOf(noFlag), std::nullopt);
    EXPECT_EQ(CRemoteKeySocket::KeyOf(three), std::nullopt);
    EXPECT_EQ(CRemoteKeySocket::KeyOf(one), std::nullopt);
    EXPECT_EQ(CRemoteKeySocket::KeyOf(high), std::nullopt);
}

class RemoteKeyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrivateMessages::RegisterWindow(MessageWindow::View, &view_);
        PrivateMessages::RegisterWindow(MessageWindow::PictureBar, &picture_);
        PrivateMessages::RegisterWindow(MessageWindow::Frame, &frame_);
        PrivateMessages::RegisterWindow(MessageWindow::VcrBar, &vcr_);
        keys_.SetContext({[this] { return vcrMode_; }, [this] { return playlist_; },
                          [this] { return guide_; }, [] { return false; },
                          [this] { ++minimised_; }});
    }
    void Press(int code) {
        const std::uint8_t datagram[] = {static_cast<std::uint8_t>(code), 0x80};
        ASSERT_TRUE(card_.DeliverRemoteKey(datagram));
        QCoreApplication::processEvents();
    }

    Window view_, picture_, frame_, vcr_;
    CFakeDeviceSet card_;
    CRemoteKeySocket keys_{card_};
    int vcrMode_ = 0, minimised_ = 0;
    bool playlist_ = false, guide_ = false;
};

TEST_F(RemoteKeyTest, KeysReachTheirWindows) {
    ASSERT_TRUE(keys_.Open());
    for (int code : {7, 12, 13, 16, 17, 32, 33, 34, 46, 38, 40}) Press(code);
    EXPECT_EQ(view_.got, (Got{"1232:7:0", "1232:12:0", "1228:2:0", "1228:1:0", "1232:34:0"}));
    EXPECT_EQ(picture_.got, (Got{"1232:13:0", "1232:16:0", "1232:17:0"}));
    EXPECT_EQ(frame_.got, (Got{"1232:46:0"}));
    EXPECT_EQ(minimised_, 1);
    keys_.Close();
    EXPECT_FALSE(card_.RemoteKeysOpen());
}

TEST_F(RemoteKeyTest, GuideOnScreenTakesTheVolumeAndStepKeys) {
    keys_.Open();
    guide_ = true;
    for (int code : {16, 17, 32, 33}) Press(code);
    EXPECT_EQ(view_.got, (Got{"1227:3:0", "1227:2:0"}));
    EXPECT_TRUE(picture_.got.empty());
}

TEST_F(RemoteKeyTest, RecordingAndPlaylistKeysGoToTheVcr) {
    keys_.Open();
    Press(30);
    vcrMode_ = 1;
    Press(30);
    QTest::qWait(80);
    vcrMode_ = 2;
    playlist_ = true;
    Press(32);
    Press(4);
    QTest::qWait(150);
    EXPECT_EQ(vcr_.got, (Got{"1230:9:0", "1230:7:268435455", "1230:2:268435455", "1230:8:0",
                             "1230:7:4", "1230:2:4", "1230:3:4"}));
    EXPECT_TRUE(view_.got.empty());
}

}  // namespace
