// The one-server-per-instance lock: exclusive while held, free again when
// released (its file gone), and never in a folder that others may enter.
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
        runtime_ = std::filesystem::temp_directory_path() / ("il" + std::to_string(getpid()));
        std::filesystem::create_directories(runtime_);
        chmod(runtime_.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        std::filesystem::remove_all(runtime_, ec);
    }
    std::filesystem::path runtime_;
    std::string error_;
};

TEST_F(InstanceLockTest, IsExclusiveUntilReleased) {
    CInstanceLock first, second;
    ASSERT_EQ(first.Take("@a", error_), CInstanceLock::Result::Taken) << error_;
    EXPECT_EQ(second.Take("@a", error_), CInstanceLock::Result::Held);
    CInstanceLock other;
    EXPECT_EQ(other.Take("@b", error_), CInstanceLock::Result::Taken) << "another instance";
    const auto file = runtime_ / "nvdvbsrv" / "server@a.lock";
    EXPECT_TRUE(std::filesystem::exists(file));
    first.Release();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(second.Take("@a", error_), CInstanceLock::Result::Taken);
}

TEST_F(InstanceLockTest, LivesInTheRuntimeFolderOnlyWhenItIsPrivate) {
    EXPECT_EQ(CInstanceLock::Folder(), (runtime_ / "nvdvbsrv").string());
    chmod(runtime_.c_str(), 0755);
    EXPECT_EQ(CInstanceLock::Folder(), "/tmp/nvdvbsrv-" + std::to_string(geteuid()));
}

TEST_F(InstanceLockTest, RefusesAFolderThatOthersMayEnter) {
    const auto folder = runtime_ / "nvdvbsrv";
    std::filesystem::create_directories(folder);
    chmod(folder.c_str(), 0755);
    CInstanceLock lock;
    EXPECT_EQ(lock.Take("@a", error_), CInstanceLock::Result::Failed);
    EXPECT_NE(error_.find(folder.string()), std::string::npos) << error_;
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(lock.Take("@a", error_), CInstanceLock::Result::Taken) << error_;
}

}  // namespace
