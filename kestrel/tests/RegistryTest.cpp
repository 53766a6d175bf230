// The SQLite key store.
#include <gtest/gtest.h>

#include <filesystem>

#include "kestrel/CRegistry.h"

namespace kestrel {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("kreg" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()) /
                "sub" / "r.db";
        ASSERT_TRUE(reg_.Open(path_.string()));
    }
    void TearDown() override {
        reg_.Close();
        std::filesystem::remove_all(path_.parent_path().parent_path());
    }
    std::filesystem::path path_;
    CRegistry reg_;
};

TEST_F(RegistryTest, TypedValuesRoundTripAndTypesAreNotMixed) {
    const std::string key = "SOFTWARE\\Norvane\\DVBSERVER\\Settings";
    ASSERT_TRUE(reg_.WriteString(key, "Path", "/usr/bin/nvdvbsrv --config a b"));
    ASSERT_TRUE(reg_.WriteDword(key, "Port", 0xDEADBEEF));
    ASSERT_TRUE(reg_.WriteBinary(key, "Blob", {0, 1, 2, 0}));
    std::string s;
    std::uint32_t d = 0;
    std::vector<std::uint8_t> b;
    EXPECT_TRUE(reg_.ReadString(key, "Path", s));
    EXPECT_EQ(s, "/usr/bin/nvdvbsrv --config a b");
    EXPECT_TRUE(reg_.ReadDword(key, "Port", d));
    EXPECT_EQ(d, 0xDEADBEEFu);
    EXPECT_TRUE(reg_.ReadBinary(key, "Blob", b));
    EXPECT_EQ(b, (std::vector<std::uint8_t>{0, 1, 2, 0}));
    EXPECT_FALSE(reg_.ReadString(key, "Port", s));
    EXPECT_FALSE(reg_.ReadDword(key, "Path", d));
    EXPECT_FALSE(reg_.ReadString(key, "Missing", s));
    EXPECT_FALSE(reg_.ReadString("SOFTWARE\\Other", "Path", s));
}

TEST_F(RegistryTest, NamesIgnoreCaseAndOverwriteReplaces) {
    ASSERT_TRUE(reg_.WriteString("Software\\A", "Name", "one"));
    ASSERT_TRUE(reg_.WriteString("SOFTWARE\\a\\", "NAME", "two"));
    std::string s;
    EXPECT_TRUE(reg_.ReadString("\\software\\A", "name", s));
    EXPECT_EQ(s, "two");
    EXPECT_EQ(reg_.Values("software\\a").size(), 1u);
}

TEST_F(RegistryTest, SubkeysInOrderAndDeleteRemovesTheTree) {
    for (const char* k : {"Net\\0002", "Net\\0000", "Net\\0001\\Deep"})
        ASSERT_TRUE(reg_.CreateKey(k));
    ASSERT_TRUE(reg_.WriteString("Net\\0001\\Deep", "v", "x"));
    EXPECT_EQ(reg_.SubKeys("Net"), (std::vector<std::string>{"0002", "0000", "0001"}));
    EXPECT_TRUE(reg_.DeleteKey("Net\\0001"));
    EXPECT_FALSE(reg_.KeyExists("Net\\0001\\Deep"));
    EXPECT_EQ(reg_.SubKeys("Net").size(), 2u);
    EXPECT_FALSE(reg_.DeleteKey(""));  // the root stays
    EXPECT_TRUE(reg_.DeleteValue("Net\\0000", "nothing") == false);
}

TEST_F(RegistryTest, ReopenKeepsDataAndMissingFileIsNotCreatedOnRequest) {
    ASSERT_TRUE(reg_.WriteDword("K", "v", 7));
    reg_.Close();
    CRegistry again;
    ASSERT_TRUE(again.Open(path_.string(), false));
    std::uint32_t d = 0;
    EXPECT_TRUE(again.ReadDword("K", "v", d));
    EXPECT_EQ(d, 7u);
    CRegistry none;
    const auto missing = path_.parent_path() / "missing.db";
    EXPECT_FALSE(none.Open(missing.string(), false));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(RegistryPath, EnvironmentChoosesTheFile) {
    setenv("KESTREL_REGISTRY", "/tmp/x/y.db", 1);
    EXPECT_EQ(CRegistry::DefaultPath(), "/tmp/x/y.db");
    unsetenv("KESTREL_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(CRegistry::DefaultPath(), "/tmp/cfg/kestrel/registry.db");
}

}  // namespace
}  // namespace kestrel
