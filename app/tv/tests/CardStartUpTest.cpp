// The card's start-up and tear-down steps on the fake card.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "receiver/CFakeDeviceSet.h"
#include "tv/CardStartUp.h"

namespace {

std::vector<std::string> WithoutPrefixes(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls) out.push_back(c.substr(0, c.find(' ')));
    return out;
}

TEST(CardStartUp, StepsInOrderAndEveryFailureShownWhileTheStartGoesOn) {
    CFakeDeviceSet card;
    for (const char* step : {"InitPCI", "BootARM", "FrontendInit", "GetFrontendType"})
        card.ScriptResult(step, 2);
    QStringList boxes;
    int pauses = 0;
    const QString kind = CardStartUp::Run(
        card, QStringLiteral("/fw/boot/24/"), [&](const QString& m) { boxes << m; },
        [&](std::chrono::milliseconds) { ++pauses; });
    EXPECT_EQ(boxes, (QStringList{"BoardControl.InitPCI nicht erfolgreich.",
                                  "BoardControl.BootARM nicht erfolgreich.",
                                  "Frontend.Init nicht erfolgreich.",
                                  "BoardControl.GetFrontendType nicht erfolgreich."}));
    EXPECT_EQ(kind, QStringLiteral("None"));
    EXPECT_EQ(pauses, 4);
    const std::vector<std::string> expected = {"InitPCI",
                                               "BootARM /fw/boot/24/",
                                               "SetVolume 64 64",
                                               "LoopCDAudio 0",
                                               "GetStatistics 36",
                                               "FrontendInit",
                                               "GetFrontendType",
                                               "DestroyOSDWindow 1",
                                               "DestroyOSDWindow 2",
                                               "DestroyOSDWindow 3",
                                               "DestroyOSDWindow 4",
                                               "DestroyOSDWindow 5",
                                               "DestroyOSDWindow 6",
                                               "DestroyOSDWindow 7",
                                               "ShutDownFilter Event",
                                               "ShutDownFilter Schedule",
                                               "ShutDownFilter Spare",
                                               "CloseReceiver Event",
                                               "CloseReceiver Schedule",
                                               "SetRemoteControl 1 65535",
                                               "MspInit",
                                               "CiInit"};
    EXPECT_EQ(card.Calls(), expected);
}

TEST(CardStartUp, FrontendKindTexts) {
    const std::pair<int, const char*> kinds[] = {
        {0, "None"},  {1, "Satellite"},   {2, "Satellite"},   {3, "Cabel"},
        {4, "Cabel"}, {5, "Terrestrial"}, {6, "Terrestrial"}, {7, "None"}};
    for (const auto& [type, text] : kinds)
        EXPECT_EQ(CardStartUp::FrontendKindText(type), QString::fromLatin1(text)) << type;
    CFakeDeviceSet card;
    card.frontendType = 3;
    EXPECT_EQ(CardStartUp::Run(card, {}, nullptr, [](auto) {}), QStringLiteral("Cabel"));
}

TEST(CardStartUp, FirmwareFolderFromWinIni) {
    QTemporaryDir dir;
    QSettings ini(dir.filePath(QStringLiteral("win.ini")), QSettings::IniFormat);
    EXPECT_EQ(CardStartUp::FirmwareFolder(ini), QStringLiteral("C:\\boot/24/"));
    ini.setValue(QStringLiteral("DVBServer/Path"), QStringLiteral("/opt/dvb"));
    EXPECT_EQ(CardStartUp::FirmwareFolder(ini), QStringLiteral("/opt/dvb/boot/24/"));
}

TEST(CardStartUp, TearDownLeavesTheCardIdle) {
    CFakeDeviceSet card;
    CardStartUp::TearDown(card);
    EXPECT_EQ(WithoutPrefixes(card.Calls()),
              (std::vector<std::string>{"LoopCDAudio", "TTXOff", "ShutDownFilter", "ShutDownFilter",
                                        "ShutDownFilter", "SetRemoteControl", "CiClose"}));
    EXPECT_EQ(card.CallsStartingWith("SetRemoteControl"),
              std::vector<std::string>{"SetRemoteControl 0 65535"});
}

}  // namespace
