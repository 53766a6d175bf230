// Atomic replacement of files: content, permissions, links, and the old file
// surviving every failure.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "TempDir.h"
#include "channellist/AtomicFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes Contents(const std::string& path) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(path, bytes, &error)) << error;
    return bytes;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(AtomicSave, CreatesNewFileWithUmaskPermissions) {
    TempDir dir;
    const mode_t old = umask(027);
    const Bytes data{1, 2, 3, 0, 255};
    std::string error;
    const bool ok = SaveFileAtomically(dir.File("new.svl"), data, &error);
    umask(old);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(Contents(dir.File("new.svl")), data);
    EXPECT_EQ(ModeOf(dir.File("new.svl")), 0640u);
    EXPECT_EQ(dir.EntryCount(), 1u) << "no temporary file may stay behind";
}

TEST(AtomicSave, ReplacesKeepingPermissionsAndFollowsLinks) {
    TempDir dir;
    const std::string target = dir.File("list.svl");
    ASSERT_TRUE(SaveFileAtomically(target, Bytes(100, 7), nullptr));
    ASSERT_EQ(chmod(target.c_str(), 0604), 0);
    fs::create_symlink(target, dir.File("link.svl"));
    ASSERT_TRUE(SaveFileAtomically(dir.File("link.svl"), Bytes{9}, nullptr));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.svl")));
    EXPECT_EQ(Contents(target), Bytes{9});
    EXPECT_EQ(ModeOf(target), 0604u);
    EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(AtomicSave, MissingFolderFailsWithMessage) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(SaveFileAtomically(dir.File("nope/list.svl"), Bytes{1}, &error));
    EXPECT_NE(error.find("nope/list.svl"), std::string::npos) << error;
}

TEST(AtomicSave, WriteFailureKeepsTheOldFile) {
    // Limit the file size so that writing the new content fails half way.
    TempDir dir;
    const std::string target = dir.File("list.svl");
    const Bytes old(1000, 0x11);
    ASSERT_TRUE(SaveFileAtomically(target, old, nullptr));

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool ok = SaveFileAtomically(target, Bytes(100000, 0x22), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Contents(target), old);
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(AtomicSave, TargetThatIsAFolderStaysUntouched) {
    TempDir dir;
    fs::create_directory(dir.File("list.svl"));
    std::ofstream(dir.File("list.svl") + "/inside") << "x";
    EXPECT_FALSE(SaveFileAtomically(dir.File("list.svl"), Bytes{1}, nullptr));
    EXPECT_TRUE(fs::exists(dir.File("list.svl") + "/inside"));
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(ReadWholeFile, ReadsLargeFilesAndReportsMissingOnes) {
    TempDir dir;
    Bytes big(300000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(SaveFileAtomically(dir.File("big"), big, nullptr));
    EXPECT_EQ(Contents(dir.File("big")), big);
    Bytes none;
    std::string error;
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), none, &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
}

}  // namespace
