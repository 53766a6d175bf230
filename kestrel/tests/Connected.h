#pragma once
// Fixture: a connected client and its scripted server.
#include <memory>

#include "FakeServer.h"
#include "TestEnv.h"
#include "kestrel/protocol/BlockIO.h"

namespace kestrel::test {

class ConnectedTest : public KestrelTest {
  protected:
    void SetUp() override {
        KestrelTest::SetUp();
        SetServerPath("/bin/true");
        server_ = std::make_unique<FakeServer>();
        ASSERT_TRUE(ConnectFast()) << CServerConnection::Instance().LastError();
    }
    void TearDown() override {
        KestrelTest::TearDown();
        server_.reset();
    }
    /// Answers every request with `result`, letting `fill` write the reply.
    void Reply(std::uint32_t result, std::function<void(protocol::BlockWriter&)> fill = {}) {
        server_->SetHandler([=, this](std::uint16_t code, std::span<std::uint8_t> block) {
            last_.assign(block.begin(), block.end());
            lastCode_ = code;
            protocol::BlockWriter w(block);
            if (fill) fill(w);
            return result;
        });
    }
    /// The request block as the server saw it.
    protocol::BlockReader Seen() { return protocol::BlockReader(last_); }
    int Requests() const { return server_->requests(); }

    std::unique_ptr<FakeServer> server_;
    std::vector<std::uint8_t> last_;
    std::uint16_t lastCode_ = 0;
};

}  // namespace kestrel::test
