// The one-server-per-instance lock: exclusive while held, free again when
// released (its file gone), the same folder for every session of the user,
// and never in a folder that others may enter.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "CInstanceLock.h"

namespace {

using nvdvbsrv::CInstanceLock;

class InstanceLockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("il" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        chmod(folder_.c_str(), 0700);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::filesystem::path folder_;
    std::string error_;
};

TEST_F(InstanceLockTest, IsExclusiveUntilReleased) {
    CInstanceLock first, second;
    const std::string folder = folder_.string();
    ASSERT_EQ(first.Take("@a", error_, folder), CInstanceLock::Result::Taken) << error_;
    EXPECT_EQ(second.Take("@a", error_, folder), CInstanceLock::Result::Held);
    CInstanceLock other;
    EXPECT_EQ(other.Take("@b", error_, folder), CInstanceLock::Result::Taken) << "another instance";
    const auto file = folder_ / "server@a.lock";
    EXPECT_TRUE(std::filesystem::exists(file));
    first.Release();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(second.Take("@a", error_, folder), CInstanceLock::Result::Taken);
}

TEST_F(InstanceLockTest, IsTheSameForEveryRuntimeFolder) {
    // A tool started from another session (another runtime folder) must find
    // the server of the program's session.
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    const std::string one = CInstanceLock::Folder();
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(CInstanceLock::Folder(), one);
    EXPECT_EQ(one, "/dev/shm/nvdvbsrv-" + std::to_string(geteuid()));
}

TEST_F(InstanceLockTest, RefusesAFolderThatOthersMayEnter) {
    const std::string folder = folder_.string();
    chmod(folder.c_str(), 0755);
    CInstanceLock lock;
    EXPECT_EQ(lock.Take("@a", error_, folder), CInstanceLock::Result::Failed);
    EXPECT_NE(error_.find(folder), std::string::npos) << error_;
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(lock.Take("@a", error_, folder), CInstanceLock::Result::Taken) << error_;
}

}  // namespace
