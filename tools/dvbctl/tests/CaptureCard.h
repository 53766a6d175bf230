#pragma once
// An emulated card whose installation plays two real captures of the shared
// test data: the first on 11494000 H 22000000, the second on 12188000 V
// 27500000, both at dish position A. The fixture skips when a capture is
// absent, runs the card for an isolated client and connects this process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ClientEnvironment.h"
#include "TsTestUtil.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CServerConnection.h"

class CaptureCardTest : public ::testing::Test {
  protected:
    // `name` makes the client's folder; `basePort` is spread by the process id.
    void StartCard(const std::string& name, int basePort, const char* horizontal,
                   const char* vertical) {
        namespace fs = std::filesystem;
        data_ = testutil::TestDataDir();
        for (const char* f : {horizontal, vertical})
            if (!fs::exists(data_ / f)) GTEST_SKIP() << "capture " << (data_ / f) << " not found";
        dir_ = testutil::IsolateClient(name + std::to_string(getpid()));
        const fs::path config = dir_ / "card.conf";
        std::ofstream(config) << "[card]\nbase_port = " << basePort + getpid() % 300 * 100
                              << "\n[position A]\ntransponder = 11494000 H 22000000 "
                              << (data_ / horizontal).string()
                              << "\ntransponder = 12188000 V 27500000 "
                              << (data_ / vertical).string() << "\n";
        ASSERT_TRUE(testutil::RegisterServer(
            dir_, std::string(NVDVBSRV_PATH) + " --config " + config.string()));
        auto& conn = kestrel::CServerConnection::Instance();
        ASSERT_TRUE(conn.Connect()) << conn.LastError();
        conn.AttachDispatcher(kestrel::DefaultPollDispatcher());
    }
    void TearDown() override {
        if (!dir_.empty()) testutil::EndClient(dir_);
    }

    std::filesystem::path data_, dir_;
};
