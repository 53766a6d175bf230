#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <memory>
#include <stdexcept>
#include <vector>

#include "common/PrivateMessages.h"

namespace {
struct Received {
    int number;
    qintptr wParam;
    qintptr lParam;
};

class Sink : public QObject {
  public:
    std::vector<Received> received;
    bool event(QEvent* e) override {
        if (!PrivateMessageEvent::IsPrivate(e)) return QObject::event(e);
        auto* m = static_cast<PrivateMessageEvent*>(e);
        received.push_back({m->number(), m->wParam(), m->lParam()});
        return true;
    }
};
}  // namespace

TEST(PrivateMessages, EachNumberIsAnEventTypeOfItsOwn) {
    EXPECT_EQ(int(PrivateMessageEvent::TypeOf(Msg::GuidePage)), int(QEvent::User) + 1227);
    EXPECT_EQ(int(PrivateMessageEvent::TypeOf(Msg::CamSlotStatus)), int(QEvent::User) + 1241);
    PrivateMessageEvent inside(Msg::RecPlayStatus, 0, 0);
    QEvent below(QEvent::Type(QEvent::User + Msg::First - 1));
    QEvent above(QEvent::Type(QEvent::User + Msg::Last + 1));
    EXPECT_TRUE(PrivateMessageEvent::IsPrivate(&inside));
    EXPECT_FALSE(PrivateMessageEvent::IsPrivate(&below));
    EXPECT_FALSE(PrivateMessageEvent::IsPrivate(&above));
}

TEST(PrivateMessages, SendDeliversAtOncePostWaitsForTheLoop) {
    Sink sink;
    PrivateMessages::Register(Msg::VideotextPage, &sink);
    EXPECT_TRUE(PrivateMessages::Send(Msg::VideotextPage, 100, -1));
    ASSERT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received[0].wParam, 100);
    EXPECT_EQ(sink.received[0].lParam, -1);

    EXPECT_TRUE(PrivateMessages::Post(Msg::VideotextPage, 2, 3));
    EXPECT_EQ(sink.received.size(), 1u);
    QCoreApplication::sendPostedEvents(&sink);
    ASSERT_EQ(sink.received.size(), 2u);
    EXPECT_EQ(sink.received[1].number, Msg::VideotextPage);
    PrivateMessages::Register(Msg::VideotextPage, nullptr);
}

// A receiver that goes away leaves no dangling entry: senders are told that
// nobody took the message.
TEST(PrivateMessages, DestroyedReceiverIsForgotten) {
    auto sink = std::make_unique<Sink>();
    PrivateMessages::Register(Msg::CiMenu, sink.get());
    PrivateMessages::RegisterWindow(MessageWindow::VcrBar, sink.get());
    sink.reset();
    EXPECT_EQ(PrivateMessages::Receiver(Msg::CiMenu), nullptr);
    EXPECT_FALSE(PrivateMessages::Send(Msg::CiMenu));
    EXPECT_FALSE(PrivateMessages::PostTo(MessageWindow::VcrBar, Msg::VcrCommand, 1));
}

TEST(PrivateMessages, WindowRolesAreAddressedApartFromNumbers) {
    Sink frame;
    Sink bar;
    PrivateMessages::RegisterWindow(MessageWindow::Frame, &frame);
    PrivateMessages::RegisterWindow(MessageWindow::PictureBar, &bar);
    EXPECT_TRUE(PrivateMessages::SendTo(MessageWindow::PictureBar, Msg::RemoteKey, 5));
    EXPECT_TRUE(frame.received.empty());
    ASSERT_EQ(bar.received.size(), 1u);
    EXPECT_EQ(bar.received[0].number, Msg::RemoteKey);
    PrivateMessages::RegisterWindow(MessageWindow::Frame, nullptr);
    PrivateMessages::RegisterWindow(MessageWindow::PictureBar, nullptr);
}

TEST(PrivateMessages, NumberOutsideTheTableIsRefused) {
    EXPECT_THROW(PrivateMessages::Receiver(Msg::First - 1), std::out_of_range);
    EXPECT_THROW(PrivateMessages::Receiver(Msg::Last + 1), std::out_of_range);
}
