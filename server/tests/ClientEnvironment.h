// The client library's surroundings for one test: its own instance name, a
// temporary home and configuration folder, and its own key store in which
// the server's command line is registered, so that Connect() starts that
// server and nothing of the user's is touched.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"

namespace testutil {

// Sets the environment for `name` and returns the test's folder (created).
inline std::filesystem::path IsolateClient(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(dir);
    setenv("KESTREL_INSTANCE", name.c_str(), 1);
    setenv("HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    setenv("KESTREL_REGISTRY", (dir / "registry.db").c_str(), 1);
    return dir;
}

// Registers the server's command line in the test's key store.
inline bool RegisterServer(const std::filesystem::path& dir, const std::string& commandLine) {
    kestrel::CRegistry reg;
    return reg.Open((dir / "registry.db").string()) &&
           reg.WriteString(kestrel::kServerSettingsKey, kestrel::kServerPathValue, commandLine);
}

// Ends the test: disconnects, stops the server the library started and
// removes the test's folder.
inline void EndClient(const std::filesystem::path& dir) {
    auto& conn = kestrel::CServerConnection::Instance();
    const int pid = conn.StartedServerPid();
    conn.Disconnect();
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

}  // namespace testutil
