// One instance per user: a later start hands its file to the first.
#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "frame/CSingleInstance.h"

namespace {
const QString Name = QStringLiteral("SVL_Editor Class");
}

TEST(SingleInstance, LaterStartHandsItsFileToTheFirst) {
    QTemporaryDir runtime;
    CSingleInstance first(runtime.path(), Name);
    ASSERT_TRUE(first.Acquire());
    QSignalSpy spy(&first, &CSingleInstance::activationRequested);

    CSingleInstance second(runtime.path(), Name);
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(second.HandOver(QStringLiteral("/listen/Sender äöü.svl")));
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("/listen/Sender äöü.svl"));

    CSingleInstance third(runtime.path(), Name);
    EXPECT_FALSE(third.Acquire());
    EXPECT_TRUE(third.HandOver(QString()));  // no file: only come to the front
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(1).at(0).toString(), QString());
}

TEST(SingleInstance, LockIsFreeAgainAfterTheFirstEnds) {
    QTemporaryDir runtime;
    {
        CSingleInstance first(runtime.path(), Name);
        ASSERT_TRUE(first.Acquire());
    }
    CSingleInstance again(runtime.path(), Name);
    EXPECT_TRUE(again.Acquire());
}

TEST(SingleInstance, OverlongMessageIsDropped) {
    QTemporaryDir runtime;
    CSingleInstance first(runtime.path(), Name);
    ASSERT_TRUE(first.Acquire());
    QSignalSpy spy(&first, &CSingleInstance::activationRequested);

    QLocalSocket socket;
    socket.connectToServer(first.SocketPath());
    ASSERT_TRUE(socket.waitForConnected(3000));
    socket.write(QByteArray(CSingleInstance::MaxMessage + 100, 'x') + '\n');
    socket.waitForBytesWritten(3000);
    EXPECT_FALSE(spy.wait(500));

    // The instance still serves the next start.
    CSingleInstance second(runtime.path(), Name);
    EXPECT_TRUE(second.HandOver(QStringLiteral("/ok.svl")));
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.last().at(0).toString(), QStringLiteral("/ok.svl"));
}

TEST(SingleInstance, HandOverMessageRules) {
    using S = CSingleInstance::MessageState;
    const std::tuple<QByteArray, S, QString> cases[] = {
        {"/a/b.svl\n", S::Complete, "/a/b.svl"},
        {"\n", S::Complete, ""},
        {"/a/b.svl\nrest", S::Complete, "/a/b.svl"},
        {"/a/b.s", S::Incomplete, ""},
        {"", S::Incomplete, ""},
        {QByteArray("/a\0b\n", 5), S::Invalid, ""},
        {"/\xff\xfe.svl\n", S::Invalid, ""},
        {"/\xc3\xa4.svl\n", S::Complete, QStringLiteral("/ä.svl")},
        {QByteArray(CSingleInstance::MaxMessage, 'x'), S::Invalid, ""},
        {QByteArray(CSingleInstance::MaxMessage, 'x') + '\n', S::Invalid, ""},
        {QByteArray(CSingleInstance::MaxMessage - 1, 'x') + '\n', S::Complete,
         QString(CSingleInstance::MaxMessage - 1, u'x')},
    };
    for (const auto& [bytes, state, file] : cases) {
        QString got;
        EXPECT_EQ(CSingleInstance::ParseMessage(bytes, &got), state)
            << bytes.left(40).toStdString();
        EXPECT_EQ(got, file);
    }
}
