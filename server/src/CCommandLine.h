// The server's command line:
//   nvdvbsrv [--config FILE] [--instance NAME] [--base-port N] [--speed X]
//            [--keepalive-timeout-ms N] [--exit-when-idle-ms N] [--fail STEPS]
//            [--audio-wav FILE]
//   nvdvbsrv key CODE [--instance NAME]
//   nvdvbsrv cam insert|remove SLOT [--instance NAME]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nvdvbsrv {

struct CCommandLine {
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
    std::string fail;      // start-up steps to fail, as the installation's "fail"
    std::string audioWav;  // sound to this WAV file, as the installation's "audio_wav"

    // False with a message for an unknown or malformed argument.
    bool Parse(const std::vector<std::string>& args, std::string& error);
    static const char* Usage();
};

}  // namespace nvdvbsrv
