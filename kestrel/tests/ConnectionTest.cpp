// The connect and disconnect sequences against a scripted server.
#include <gtest/gtest.h>

#include <fstream>

#include "FakeServer.h"
#include "TestEnv.h"
#include "kestrel/CBoardControl.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/protocol/Names.h"

namespace kestrel::test {
namespace {

using Conn = CServerConnection;
const std::string kTail = "\n\nDVB Client Application will be closed.";

using ConnectionTest = KestrelTest;

TEST_F(ConnectionTest, MissingPathValueFailsWithoutStartingAnything) {
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError(),
              "Registry error: No valid path entry for NVDVBSrv !" + kTail);
    EXPECT_EQ(Conn::Instance().StartedServerPid(), 0);
    EXPECT_FALSE(Conn::Instance().IsConnected());
}

TEST_F(ConnectionTest, PathOfWrongTypeOrTooLongCountsAsMissing) {
    {
        CRegistry reg;
        ASSERT_TRUE(reg.Open(registryPath_));
        ASSERT_TRUE(reg.WriteDword(kServerSettingsKey, kServerPathValue, 5));
    }
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError().rfind("Registry error", 0), 0u);
    SetServerPath("/bin/" + std::string(200, 'x'));  // does not fit 200 bytes
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError().rfind("Registry error", 0), 0u);
}

TEST_F(ConnectionTest, UnstartableServerReportsPathAndCode) {
    SetServerPath("/nonexistent/nvdvbsrv --demo");
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError(),
              "Start of NVDVBSrv failed!\n\nPath: \"/nonexistent/nvdvbsrv --demo\"\nError code: 2" +
                  kTail);
}

TEST_F(ConnectionTest, ServerThatNeverMakesItsStatusMutexTimesOut) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.createStatusMutex = false;
    FakeServer server(o);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ConnectFast());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(Conn::Instance().LastError(), "NVDVBSrv time out!\n\nPath: \"/bin/true\"" + kTail);
    EXPECT_GE(waited, std::chrono::milliseconds(300));  // the whole limit was waited
    EXPECT_EQ(server.connects(), 0);
    EXPECT_GT(Conn::Instance().StartedServerPid(), 0);  // the command was started
}

TEST_F(ConnectionTest, RefusedClientGetsNoConnectionMessageAndOneDisconnect) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.clientId = 0;
    FakeServer server(o);
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError(), "No connection to NVDVBSrv!" + kTail);
    EXPECT_EQ(server.connects(), 1);
    EXPECT_EQ(server.disconnects(), 1);
    Conn::Instance().Disconnect();
    EXPECT_EQ(server.disconnects(), 1);
}

TEST_F(ConnectionTest, MissingParameterObjectsFailWithOpenMutexMessage) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.createParamObjects = false;
    FakeServer server(o);
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError(), "OpenMutex failed!" + kTail);
    EXPECT_EQ(server.disconnects(), 1);
    EXPECT_EQ(server.lastDisconnectClient(), 1u);
}

TEST_F(ConnectionTest, ClientIdsOpenTheirZeroPaddedObjects) {
    SetServerPath("/bin/true");
    for (std::uint16_t id : {7, 12345}) {
        FakeServer::Options o;
        o.clientId = id;
        FakeServer server(o);
        ASSERT_TRUE(ConnectFast()) << Conn::Instance().LastError();
        EXPECT_EQ(Conn::Instance().ClientId(), id);
        EXPECT_EQ(Conn::Instance().ServerWindow(), static_cast<std::uint32_t>(getpid()));
        // A request reaches the block the server created under that name.
        CBoardControl board;
        EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_OK);
        EXPECT_EQ(server.codes().back(), 22);
        Conn::Instance().Disconnect();
    }
    EXPECT_EQ(protocol::ParamMemoryName(7, ""), "/!NVDVBSERVER!PARAMMEMORY!0007");
    EXPECT_EQ(protocol::ParamMutexName(12345, ""), "/!NVDVBSERVER!PARAMMUTEX!12345");
}

TEST_F(ConnectionTest, DisconnectIsSentOnceAfterTheObjectsAreClosed) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.clientId = 3;
    FakeServer server(o);
    ASSERT_TRUE(ConnectFast());
    Conn::Instance().Disconnect();
    Conn::Instance().Disconnect();
    EXPECT_EQ(server.disconnects(), 1);
    EXPECT_EQ(server.lastDisconnectClient(), 3u);
    EXPECT_FALSE(server.objectsMappedAtDisconnect());
    CBoardControl board;
    EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_TIMEOUT);  // no parameter mutex any more
}

TEST_F(ConnectionTest, KeepAliveAndPostedMessagesRunOnTheDispatcher) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.clientId = 9;
    FakeServer server(o);
    ASSERT_TRUE(ConnectFast());
    CPollDispatcher loop;
    std::vector<std::uint32_t> got;
    Conn::Instance().SetPostedMessageHandler(
        [&](std::uint32_t w, std::uint32_t m, std::uint32_t wp, std::uint32_t) {
            got = {w, m, wp};
            loop.Quit();
        });
    Conn::Instance().AttachDispatcher(loop);
    const auto start = std::chrono::steady_clock::now();
    while (server.keepAlives() < 2 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        loop.RunFor(std::chrono::milliseconds(40));
    EXPECT_GE(server.keepAlives(), 2);
    EXPECT_GE(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(80));  // 40 ms apart
    EXPECT_EQ(server.lastKeepAliveClient(), 9u);
    server.Post(0x1234, 1239, 2, 0);
    loop.RunFor(std::chrono::milliseconds(2000));
    EXPECT_EQ(got, (std::vector<std::uint32_t>{0x1234, 1239, 2}));
    Conn::Instance().Disconnect();
    EXPECT_EQ(loop.TimerCount(), 0u);  // keep-alive removed with the connection
    EXPECT_EQ(loop.WatchCount(), 0u);
    Conn::Instance().SetPostedMessageHandler({});
}

TEST_F(ConnectionTest, MessagePostedDuringARequestIsDeliveredLater) {
    SetServerPath("/bin/true");
    FakeServer server;
    ASSERT_TRUE(ConnectFast());
    CPollDispatcher loop;
    Conn::Instance().AttachDispatcher(loop);
    int delivered = 0;
    Conn::Instance().SetPostedMessageHandler([&](std::uint32_t, std::uint32_t m, std::uint32_t,
                                                 std::uint32_t) { delivered += m == 1239; });
    server.SetHandler([&](std::uint16_t, std::span<std::uint8_t>) {
        server.Post(1, 1239, 0, 0);  // arrives before the result
        return 1u;
    });
    CBoardControl board;
    EXPECT_EQ(board.PingDVBServer(), CCommonDVB::RET_OK);
    EXPECT_EQ(delivered, 0);  // not from inside the request
    loop.RunFor(std::chrono::milliseconds(50));
    EXPECT_EQ(delivered, 1);
    Conn::Instance().Disconnect();
    Conn::Instance().SetPostedMessageHandler({});
}

TEST_F(ConnectionTest, RequestsFailWhenTheServerIsGone) {
    SetServerPath("/bin/true");
    FakeServer server;
    ASSERT_TRUE(ConnectFast());
    server.Stop();
    CBoardControl board;
    EXPECT_EQ(board.PingDVBServer(), 0);
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

TEST_F(ConnectionTest, DispatcherAttachedBeforeConnectIsUsedAndForgottenAtDisconnect) {
    SetServerPath("/bin/true");
    FakeServer server;
    CPollDispatcher loop;
    Conn::Instance().AttachDispatcher(loop);  // as the program does before connecting
    EXPECT_EQ(loop.TimerCount(), 0u);         // nothing to keep alive yet
    ASSERT_TRUE(ConnectFast());
    EXPECT_EQ(loop.TimerCount(), 1u);
    EXPECT_EQ(loop.WatchCount(), 1u);
    Conn::Instance().DetachDispatcher();
    EXPECT_EQ(loop.TimerCount(), 0u);
    EXPECT_EQ(loop.WatchCount(), 0u);
    loop.RunFor(std::chrono::milliseconds(100));
    EXPECT_EQ(server.keepAlives(), 0);
}

TEST_F(ConnectionTest, ConnectWithoutAServerWindowFailsAtRegistration) {
    SetServerPath("/bin/true");
    FakeServer::Options o;
    o.window = 0xFFFFFFF0u;  // names no process with a socket
    FakeServer server(o);
    EXPECT_FALSE(ConnectFast());
    EXPECT_EQ(Conn::Instance().LastError(), "No connection to NVDVBSrv!" + kTail);
    EXPECT_EQ(server.connects(), 0);
}

}  // namespace
}  // namespace kestrel::test
