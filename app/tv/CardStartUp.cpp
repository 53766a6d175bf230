#include "tv/CardStartUp.h"

#include <QSettings>
#include <array>

#include "receiver/IDeviceSet.h"
#include "tv/TvTexts.h"

using namespace std::chrono_literals;

namespace CardStartUp {

namespace {
constexpr std::uint8_t kStartVolume = 64;
constexpr int kStatisticsCounters = 36;
constexpr int kOsdWindows = 7;
constexpr int kRemoteOn = 1, kRemoteOff = 0;
constexpr std::uint16_t kRemoteValue = 0xFFFF;
constexpr int kMaxPathLength = 255;

void Check(CardResult result, const QString& message, const ErrorBox& error) {
    if (!result.Ok() && error) error(message);
}
}  // namespace

QString FirmwareFolder(QSettings& winIni) {
    QString path =
        winIni.value(QStringLiteral("DVBServer/Path"), QStringLiteral("C:\\")).toString();
    path.truncate(kMaxPathLength);
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    return path + QStringLiteral("boot/24/");
}

QString FrontendKindText(int chipType) {
    switch (chipType) {
        case 1:
        case 2:
            return QStringLiteral("Satellite");
        case 3:
        case 4:
            return QStringLiteral("Cabel");
        case 5:
        case 6:
            return QStringLiteral("Terrestrial");
        default:
            return QStringLiteral("None");
    }
}

QString Run(IDeviceSet& card, const QString& firmwareFolder, const ErrorBox& error,
            const Sleep& sleep) {
    Check(card.InitPCI(), TvTexts::InitPciFailed, error);
    Check(card.BootARM(firmwareFolder.toStdString()), TvTexts::BootArmFailed, error);
    card.SetVolume(kStartVolume, kStartVolume);
    card.LoopCDAudio(0);
    std::array<std::uint32_t, kStatisticsCounters> statistics{};
    card.GetStatistics(statistics);
    Check(card.FrontendInit(), TvTexts::FrontendInitFailed, error);
    int chipType = 0;
    const CardResult typeRead = card.GetFrontendType(chipType);
    Check(typeRead, TvTexts::FrontendTypeFailed, error);
    const QString kind = FrontendKindText(typeRead.Ok() ? chipType : 0);

    for (int window = 1; window <= kOsdWindows; ++window)
        card.DestroyOSDWindow(static_cast<std::uint8_t>(window));
    card.ShutDownFilter(FilterRole::Event);
    card.ShutDownFilter(FilterRole::Schedule);
    card.ShutDownFilter(FilterRole::Spare);
    sleep(10ms);
    card.CloseReceiver(FilterRole::Event);
    sleep(50ms);
    card.CloseReceiver(FilterRole::Schedule);
    sleep(50ms);
    card.SetRemoteControl(kRemoteOn, kRemoteValue);
    card.MspInit();
    // The video window's messages and the display come with the TV window;
    // the pause after them stays, the card expects it before the CAMs start.
    sleep(50ms);
    card.CiInit();
    return kind;
}

void TearDown(IDeviceSet& card) noexcept {
    try {
        card.LoopCDAudio(1);
        card.TTXOff();
        card.ShutDownFilter(FilterRole::Event);
        card.ShutDownFilter(FilterRole::Schedule);
        card.ShutDownFilter(FilterRole::Spare);
        card.SetRemoteControl(kRemoteOff, kRemoteValue);
        card.CiClose();
    } catch (...) {
        // Leaving the card never keeps the window from closing.
    }
}

}  // namespace CardStartUp
