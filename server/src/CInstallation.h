// The receiving installation that the emulated card simulates: board identity,
// dish positions with their LNBs and satellite transponders, cable transponders.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace nvdvbsrv {

enum class Polarisation { Horizontal, Vertical };

// One transponder (satellite) or channel (cable): where it is and what it carries.
struct Transponder {
    uint32_t frequencyKHz = 0;
    Polarisation polarisation = Polarisation::Horizontal;  // satellite only
    uint32_t qam = 0;                                      // cable only: 16, 32, 64, 128, 256
    uint32_t symbolRate = 0;                               // symbols per second
    std::string file;                                      // transport stream, absolute path
    int32_t level = 70;                                    // signal level shown when locked
};

// A universal LNB: low band oscillator below the switch frequency, high band above it
// (the 22 kHz tone selects the high band).
struct Lnb {
    uint32_t lofLowKHz = 9750000;
    uint32_t lofHighKHz = 10600000;
    uint32_t switchKHz = 11700000;
};

// One dish position behind the DiSEqC switch (A-D) or tone-burst switch (A/B).
struct DishPosition {
    bool present = false;
    std::string name;
    Lnb lnb;
    std::vector<Transponder> transponders;
};

struct BoardIdentity {
    std::string ip = "127.0.0.1";
    uint16_t basePort = 27000;
    std::string mac = "00:D0:5C:1A:2B:3C";
    std::string subnetMask = "255.255.255.0";
    std::string manufacturer = "Norvane";
    std::string boardType = "DVB-PCI Emulation Rev. 1";
    uint32_t firmwareVersion = 0x10261F0A;  // final firmware 2.6, build 7946
    uint32_t runtimeVersion = 0x00020001;
    uint32_t decoderRevision = 0x0000A1B2;
    std::string firmwareDate = "12.03.2002";
    std::string firmwareTime = "14:25:00";
    std::string selfTestText = "Selbsttest bestanden";
};

enum class FrontendKind { Satellite, Cable };

// The card's start-up requests that the installation can make fail, so that
// a program's handling of a broken card can be tried: "InitPCI", "BootARM",
// "Frontend.Init", "GetFrontendType".
enum class StartStep { InitPci, BootArm, FrontendInit, FrontendType };
// The steps named in a list separated by commas or blanks; false for an
// unknown name.
bool ParseStartSteps(std::string_view list, std::set<StartStep>& steps);
// What a list with an unknown name is told.
inline constexpr const char* kStartStepsExpected =
    "nennt InitPCI, BootARM, Frontend.Init oder GetFrontendType";

class CInstallation {
  public:
    // Reads the configuration text; relative file names are taken relative to baseDir.
    // On failure returns nothing and sets error to a message naming the line.
    static std::optional<CInstallation> Parse(std::string_view text, const std::string& baseDir,
                                              std::string& error);
    static std::optional<CInstallation> Load(const std::string& path, std::string& error);

    FrontendKind frontend = FrontendKind::Satellite;
    bool diseqc = false;  // a switch is installed (more than one position)
    std::array<DishPosition, 4> positions;
    std::vector<Transponder> cable;
    BoardIdentity board;
    double speed = 1.0;                // playback speed relative to the stream's own bit rate
    bool liveClock = true;             // TDT and TOT carry the current time
    int camSlot = 1;                   // slot of the virtual CA module, 0 for none
    std::set<StartStep> failingSteps;  // answered with a failure
    std::string audioWav;              // sound goes to this WAV file instead of the desktop
};

}  // namespace nvdvbsrv
