// The server's command line:
//   nvdvbsrv [--config FILE] [--instance NAME] [--base-port N] [--speed X]
//            [--keepalive-timeout-ms N] [--exit-when-idle-ms N] [--fail STEPS]
//            [--audio-wav FILE]
//   nvdvbsrv key CODE [--instance NAME]
//   nvdvbsrv cam insert|remove SLOT [--instance NAME]
//   nvdvbsrv --help | --version
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CInstallation.h"

namespace nvdvbsrv {

// Exit codes of the server and of its key and cam commands.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitFailure = 1,   // with a message: no configuration, no socket, key refused, ...
    kExitUsage = 2,     // a malformed command line
    kExitNoServer = 3,  // key and cam: no server of this instance and user answers
};

struct CCommandLine {
    bool help = false;     // -h or --help anywhere: print Help(), nothing else
    bool version = false;  // --version anywhere (without --help)
    bool keyCommand = false;
    uint32_t keyCode = 0;
    bool camCommand = false;
    bool camInsert = false;  // else remove
    uint8_t camSlot = 0;
    std::string config;                   // empty: the default place
    std::optional<std::string> instance;  // else KESTREL_INSTANCE
    std::optional<uint16_t> basePort;
    std::optional<double> speed;
    std::optional<uint32_t> keepAliveMs;
    std::optional<uint32_t> exitWhenIdleMs;
    std::set<StartStep> failSteps;  // start-up steps to fail, as the installation's "fail"
    std::string audioWav;           // sound to this WAV file, as the installation's "audio_wav"

    // False with a message for an unknown option, a missing or malformed
    // value, or a malformed key or cam command.
    bool Parse(const std::vector<std::string>& args, std::string& error);
    static const char* Usage();  // the synopsis
    static const char* Help();   // synopsis, options, files, environment, exit codes

  private:
    bool ParseCommand(const std::vector<std::string>& args, size_t& next, std::string& error);
    bool SetOption(const std::string& option, const std::string& value, std::string& error);
};

}  // namespace nvdvbsrv
