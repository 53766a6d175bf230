// Splitting and starting the server's command line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "ServerLauncher.h"

namespace kestrel {
namespace {

TEST(Launcher, CommandLineWords) {
    struct {
        const char* line;
        std::vector<std::string> words;
    } table[] = {
        {"/usr/bin/nvdvbsrv", {"/usr/bin/nvdvbsrv"}},
        {"  nvdvbsrv   --config a.conf ", {"nvdvbsrv", "--config", "a.conf"}},
        {"\"/opt/dvb server/nvdvbsrv\" --instance x",
         {"/opt/dvb server/nvdvbsrv", "--instance", "x"}},
        {"a \"\" b", {"a", "", "b"}},
        {"", {}},
    };
    for (auto& row : table) EXPECT_EQ(SplitCommandLine(row.line), row.words) << row.line;
}

TEST(Launcher, StartResultCodes) {
    const auto dir = std::filesystem::temp_directory_path() / ("launch" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto plain = dir / "not-executable";
    std::ofstream(plain) << "x";
    int pid = 0;
    EXPECT_EQ(StartServerProcess("", &pid), 2u);
    EXPECT_EQ(StartServerProcess((dir / "missing").string(), &pid), 2u);
    EXPECT_EQ(StartServerProcess(plain.string() + "/below", &pid), 3u);
    EXPECT_EQ(StartServerProcess(plain.string(), &pid), 5u);
    EXPECT_EQ(pid, 0);
    // A started program gets the arguments and no terminal output of ours.
    const auto marker = dir / "ran";
    setenv("KESTREL_SERVER_LOG", (dir / "log").c_str(), 1);
    EXPECT_GT(
        StartServerProcess("/bin/sh -c \"echo started; touch " + marker.string() + "\"", &pid),
        32u);
    unsetenv("KESTREL_SERVER_LOG");
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(std::filesystem::exists(marker));
    std::ifstream log(dir / "log");
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(line, "started");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kestrel
