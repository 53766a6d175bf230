#pragma once
// Per-test environment: a fresh instance name, a temporary HOME/XDG folder
// and registry file, and short connect timings. The connection singleton is
// disconnected at the end of every test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"

namespace kestrel::test {

inline ConnectTimings FastTimings() {
    using ms = std::chrono::milliseconds;
    ConnectTimings t;
    t.statusMutexPoll = ms(5);
    t.statusMutexLimit = ms(300);
    t.statusMemoryPoll = ms(5);
    t.statusMemoryLimit = ms(200);
    t.paramMutexPoll = ms(5);
    t.paramMutexLimit = ms(200);
    t.paramMemoryPoll = ms(5);
    t.paramMemoryLimit = ms(200);
    t.requestWait = ms(150);
    t.keepAlivePeriod = ms(40);
    t.replyLimit = ms(600);
    t.disconnectLimit = ms(300);
    return t;
}

class KestrelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int counter = 0;
        const std::string name = "kt" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        dir_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(dir_);
        setenv("KESTREL_INSTANCE", name.c_str(), 1);
        setenv("HOME", dir_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        registryPath_ = (dir_ / "registry.db").string();
        setenv("KESTREL_REGISTRY", registryPath_.c_str(), 1);
    }
    void TearDown() override {
        CServerConnection::Instance().Disconnect();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    /// Writes the server's command line into the registry.
    void SetServerPath(const std::string& path) {
        CRegistry reg;
        ASSERT_TRUE(reg.Open(registryPath_));
        ASSERT_TRUE(reg.WriteString(kServerSettingsKey, kServerPathValue, path));
    }
    bool ConnectFast() { return CServerConnection::Instance().Connect(FastTimings()); }

    std::filesystem::path dir_;
    std::string registryPath_;
};

}  // namespace kestrel::test
