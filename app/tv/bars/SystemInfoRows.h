#pragma once
// The rows of "Systeminformationen": the machine (system, screen, memory,
// processor clock) and the card (board, firmware, addresses). Each function
// gives the rows for what it is handed, so the texts can be checked without
// a window or a card.
#include <QString>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <utility>
#include <vector>

class IDeviceSet;

namespace SystemInfoRows {

using Row = std::pair<QString, QString>;

/// Memory figures in KB as /proc/meminfo gives them.
struct MemoryKb {
    double total = 0;        ///< MemTotal
    double free = 0;         ///< MemAvailable (MemFree on kernels without it)
    double freeVirtual = 0;  ///< MemAvailable + SwapFree
};
/// Reads the figures from the text of /proc/meminfo; nullopt when MemTotal is missing.
std::optional<MemoryKb> ParseMemInfo(const QByteArray& text);
/// "Speicher" with "%7.0f KB RAM gefunden", then two rows without a label for
/// the free and the free virtual memory.
std::vector<Row> MemoryRows(const MemoryKb& memory);

/// The system's name and version and the kernel's: "<name>, <kernel type> <kernel version>".
QString SystemText(const QString& productName, const QString& kernelType,
                   const QString& kernelVersion);
QString ScreenText(int width, int height);

/// Processor clock from the time-stamp counter ticks of one second, in units
/// of 0.01 MHz: "866.05 MHz ungefähr" for 866 050 000 ticks.
QString ClockText(std::uint64_t ticksPerSecond);
/// Counts the processor's time-stamp counter over a sleep of one second, less
/// the cost of one counter read. Blocks for that second; nullopt when `stop`
/// is requested before it is over or the processor has no such counter.
std::optional<std::uint64_t> MeasureTicksPerSecond(std::stop_token stop);

/// "Allgemein" without the clock row (it comes when measured): system, screen, memory.
std::vector<Row> GeneralRows(int screenWidth, int screenHeight);

/// "%X.%X.%04X %s " of the firmware version: major, minor, build, "Final" or "Beta".
QString FirmwareText(std::uint32_t version);
/// The check text of the card's network address (0..6) or hardware address (0..5).
QString IpCheckText(int check);
QString MacCheckText(int check);
/// "DVB-S": each group of rows only when its card call succeeds.
std::vector<Row> CardRows(IDeviceSet& devices);

}  // namespace SystemInfoRows
