// The option values and their crossed names in the settings store.
#include <gtest/gtest.h>

#include <QSettings>

#include "frame/CAppOptions.h"
#include "frame/CSVL_EditorApp.h"

namespace {
class AppOptions : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
};
}  // namespace

TEST_F(AppOptions, StoreIsTheProgramsOwn) {
    QSettings settings;
    EXPECT_EQ(settings.organizationName(), QStringLiteral("SVL-Programm Editor"));
    EXPECT_EQ(settings.applicationName(), QStringLiteral("SVL_Editor"));
    EXPECT_EQ(settings.format(), QSettings::NativeFormat);
    EXPECT_TRUE(settings.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

TEST_F(AppOptions, DefaultsWhenNothingIsStored) {
    QSettings settings;
    CAppOptions options;
    options.lowLevel = 7;
    options.pidHex = 7;
    options.Load(settings);
    EXPECT_EQ(options.lowLevel, 1);
    EXPECT_EQ(options.pidHex, 0);
    EXPECT_EQ(options.fadeOutDisabled, 0);
    EXPECT_EQ(options.guideHourOffset, 0);
}

TEST_F(AppOptions, BackEndAndPidDisplayLiveUnderEachOthersNames) {
    QSettings settings;
    CAppOptions options;
    options.lowLevel = 0;
    options.pidHex = 1;
    options.fadeOutDisabled = 1;
    options.guideHourOffset = -5;
    options.Save(settings);
    EXPECT_EQ(settings.value("Einstellungen/PID Anzeigemode").toInt(), 0);
    EXPECT_EQ(settings.value("Einstellungen/Verwendete API").toInt(), 1);
    EXPECT_EQ(settings.value("Einstellungen/FadeOut Mode").toInt(), 1);
    EXPECT_EQ(settings.value("Einstellungen/Zeitoffset EPD").toInt(), -5);

    CAppOptions back;
    back.Load(settings);
    EXPECT_EQ(back.lowLevel, 0);
    EXPECT_EQ(back.pidHex, 1);
    EXPECT_EQ(back.fadeOutDisabled, 1);
    EXPECT_EQ(back.guideHourOffset, -5);
}

TEST_F(AppOptions, GuideOffsetIsReadBackAsOneSignedByte) {
    const std::pair<QVariant, int> cases[] = {
        {0xF4, -12}, {12, 12}, {-12, -12}, {0xFF, -1}, {0x17F, 127}, {QStringLiteral("kaputt"), 0}};
    QSettings settings;
    for (const auto& [stored, expected] : cases) {
        settings.setValue("Einstellungen/Zeitoffset EPD", stored);
        CAppOptions options;
        options.Load(settings);
        EXPECT_EQ(options.guideHourOffset, expected) << stored.toString().toStdString();
    }
}

TEST(AppVersion, VersionTextAndProgramPath) {
    EXPECT_EQ(CSVL_EditorApp::VersionText(), QStringLiteral(SVL_EXPECTED_VERSION));
    const QString path = CSVL_EditorApp::ProgramPath();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/test_frame"))) << path.toStdString();
}

TEST(AppCommandLine, FileArgumentSkipsOptions) {
    const std::pair<QStringList, QString> cases[] = {
        {{"SVL_Editor"}, ""},
        {{"SVL_Editor", "liste.svl"}, "liste.svl"},
        {{"SVL_Editor", "-x", "l.svl"}, "l.svl"},
        {{"SVL_Editor", "--reverse", "a b.svl"}, "a b.svl"},
        {{"SVL_Editor", "--", "-minus.svl"}, "-minus.svl"},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(CSVL_EditorApp::FileArgument(args), expected) << args.join(' ').toStdString();
}
