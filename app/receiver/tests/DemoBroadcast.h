#pragma once
// The demo broadcast for the card tests: built once per process with the
// demo-broadcast builder (MKDEMOMUX_PATH and DEMO_DIR come from the test
// target) into the test's temporary home, and an installation file that
// receives it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace DemoBroadcast {

/// The folder of the built broadcast; empty when it cannot be built (no ffmpeg).
inline const std::filesystem::path& Dir() {
    static const std::filesystem::path dir = [] {
        if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) return std::filesystem::path();
        const std::filesystem::path d = std::filesystem::path(std::getenv("HOME")) / "demo";
        const std::string cmd = std::string(MKDEMOMUX_PATH) + " --list " + DEMO_DIR +
                                "/Demo.json --out " + d.string() + " >/dev/null 2>&1";
        return std::system(cmd.c_str()) == 0 ? d : std::filesystem::path();
    }();
    return dir;
}

/// Rewrites the installation file `config` to receive the demo's
/// transponders at position A, keeping its own card section (the base port).
inline void UseInstallation(const std::string& config) {
    std::ifstream in(config);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::ofstream out(config);
    out << text.substr(0, text.find("[position A]")) << "[position A]\n";
    std::ifstream demo(Dir() / "installation.conf");
    for (std::string line; std::getline(demo, line);) {
        if (line.rfind("transponder =", 0) != 0) continue;
        const auto file = line.rfind(' ') + 1;
        out << line.substr(0, file) << (Dir() / line.substr(file)).string() << "\n";
    }
}

}  // namespace DemoBroadcast
