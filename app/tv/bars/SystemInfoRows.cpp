#include "tv/bars/SystemInfoRows.h"

#include <sys/utsname.h>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSysInfo>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "receiver/IDeviceSet.h"
#include "tv/bars/BarsTexts.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#define SVL_HAVE_TSC 1
#endif

namespace SystemInfoRows {

std::optional<MemoryKb> ParseMemInfo(const QByteArray& text) {
    std::optional<double> total, available, memFree, swapFree;
    for (const QByteArray& line : text.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0) continue;
        const QByteArray key = line.left(colon).trimmed();
        // "MemTotal:       16318480 kB": the number, then the unit.
        const QList<QByteArray> fields = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const double value = fields.value(0).toDouble(&ok);
        if (!ok) continue;
        if (key == "MemTotal") total = value;
        if (key == "MemAvailable") available = value;
        if (key == "MemFree") memFree = value;
        if (key == "SwapFree") swapFree = value;
    }
    if (!total) return std::nullopt;
    MemoryKb memory;
    memory.total = *total;
    memory.free = available.value_or(memFree.value_or(0));
    memory.freeVirtual = memory.free + swapFree.value_or(0);
    return memory;
}

std::vector<Row> MemoryRows(const MemoryKb& m) {
    return {{BarsTexts::Memory, QString::asprintf("%7.0f KB RAM gefunden", m.total)},
            {QString(), QString::asprintf("%7.0f KB RAM frei", m.free)},
            {QString(), QString::asprintf("%7.0f KB Virtuelles RAM frei", m.freeVirtual)}};
}

QString SystemText(const QString& productName, const QString& kernelType,
                   const QString& kernelVersion) {
    return QStringLiteral("%1, %2 %3").arg(productName, kernelType, kernelVersion);
}

QString ScreenText(int width, int height) { return QString::asprintf("%d x %d", width, height); }

QString ClockText(std::uint64_t ticksPerSecond) {
    const std::uint64_t hundredths = ticksPerSecond / 10000;  // 0.01 MHz
    return QString::asprintf("%d.%02d MHz ungefähr", int(hundredths / 100), int(hundredths % 100));
}

std::optional<std::uint64_t> MeasureTicksPerSecond(std::stop_token stop) {
#ifdef SVL_HAVE_TSC
    const std::uint64_t first = __rdtsc();
    const std::uint64_t readCost = __rdtsc() - first;
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    const std::uint64_t start = __rdtsc();
    const bool stopped =
        wake.wait_for(lock, stop, std::chrono::seconds(1), [&] { return stop.stop_requested(); });
    const std::uint64_t end = __rdtsc();
    if (stopped) return std::nullopt;
    return end - start - readCost;
#else
    (void)stop;
    return std::nullopt;
#endif
}

std::vector<Row> GeneralRows(int screenWidth, int screenHeight) {
    utsname names{};
    QString kernelType = QSysInfo::kernelType(), kernelVersion = QSysInfo::kernelVersion();
    if (uname(&names) == 0) {
        kernelType = QString::fromLocal8Bit(names.sysname);
        kernelVersion = QString::fromLocal8Bit(names.release);
    }
    std::vector<Row> rows{{BarsTexts::OperatingSystem,
                           SystemText(QSysInfo::prettyProductName(), kernelType, kernelVersion)},
                          {BarsTexts::Screen, ScreenText(screenWidth, screenHeight)}};
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly))
        if (const auto memory = ParseMemInfo(meminfo.readAll()))
            for (Row& row : MemoryRows(*memory)) rows.push_back(std::move(row));
    return rows;
}

QString FirmwareText(std::uint32_t v) {
    const QString kind = v >= 0x10000000u ? BarsTexts::Final : BarsTexts::Beta;
    return QString::asprintf("%X.%X.%04X %s ", unsigned((v >> 20) & 0xF), unsigned((v >> 16) & 0xF),
                             unsigned(v & 0xFFFF), kind.toUtf8().constData());
}

namespace {
template <std::size_t N>
QString CheckText(const char* const (&texts)[N], int check) {
    if (check >= 0 && std::size_t(check) < N) return QString::fromUtf8(texts[check]);
    return QString::number(check);  // a code the card did not document
}
QString Text(const std::string& s) { return QString::fromLocal8Bit(s.data(), qsizetype(s.size())); }
}  // namespace

QString IpCheckText(int check) { return CheckText(BarsTexts::IpCheckTexts, check); }
QString MacCheckText(int check) { return CheckText(BarsTexts::MacCheckTexts, check); }

std::vector<Row> CardRows(IDeviceSet& devices) {
    std::vector<Row> rows;
    std::string manufacturer, boardType;
    if (devices.GetBoardMfg(manufacturer, boardType).Ok()) {
        rows.emplace_back(BarsTexts::Manufacturer, Text(manufacturer));
        rows.emplace_back(BarsTexts::BoardType, Text(boardType));
    }
    FirmwareVersion version;
    if (devices.GetBEVersion(version).Ok()) {
        rows.emplace_back(BarsTexts::Firmware, FirmwareText(version.firmware));
        rows.emplace_back(BarsTexts::FirmwareDate,
                          QStringLiteral("%1 - %2 ").arg(Text(version.date), Text(version.time)));
        rows.emplace_back(BarsTexts::VideoDecoderRev,
                          QString::asprintf("%X", unsigned(version.videoDecoder)));
        rows.emplace_back(BarsTexts::RuntimeLibrary,
                          QString::asprintf("%X", unsigned(version.runtime)));
    }
    std::string ip, mask;
    int ipCheck = -1;
    if (devices.GetIP(ip, mask, ipCheck).Ok()) {
        rows.emplace_back(BarsTexts::IpCheck, IpCheckText(ipCheck));
        rows.emplace_back(BarsTexts::IpAddress, Text(ip));
        rows.emplace_back(BarsTexts::SubnetMask, Text(mask));
    }
    std::string mac;
    int macCheck = -1;
    if (devices.GetMAC(mac, macCheck).Ok()) {
        rows.emplace_back(BarsTexts::MacCheck, MacCheckText(macCheck));
        rows.emplace_back(BarsTexts::MacAddress, Text(mac));
    }
    return rows;
}

}  // namespace SystemInfoRows
