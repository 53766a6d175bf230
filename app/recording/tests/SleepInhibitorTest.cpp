// The sleep inhibitor and the power-off command, each with a harmless
// command of the test's own in place of the desktop's.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include "recording/CSleepInhibitor.h"
#include "recording/PowerOff.h"

namespace {

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

bool WaitForFile(const QString& path) {
    for (int i = 0; i < 200 && ReadText(path).isEmpty(); ++i) QThread::msleep(10);
    return !ReadText(path).isEmpty();
}

// Running, not gone and not a zombie waiting for the system to reap it.
bool Alive(const QString& pid) {
    const QString stat = ReadText("/proc/" + pid + "/stat");
    const qsizetype state = stat.lastIndexOf(')') + 2;
    return state > 1 && state < stat.size() && stat[state] != 'Z' && stat[state] != 'X';
}

TEST(SleepInhibitor, HoldsItsHelperWithItsArgumentsAndEndsWhatTheHelperStarted) {
    QTemporaryDir dir;
    const QString script = dir.filePath("inhibit.sh");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Like systemd-inhibit: it starts the command it was given and waits for it.
    f.write(
        "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.args\"\nsleep 30 &\necho $! > \"$0.child\"\n"
        "echo $$ > \"$0.pid\"\nwait\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QStringList command = CSleepInhibitor::DefaultCommand();
    EXPECT_EQ(command.join(' '),
              "systemd-inhibit --what=sleep:idle --who=SVL_Editor --why=Timeraufnahme läuft "
              "--mode=block sleep infinity");
    command[0] = script;
    CSleepInhibitor inhibitor(command);
    EXPECT_FALSE(inhibitor.Held());
    inhibitor.Acquire();
    ASSERT_TRUE(inhibitor.Held());
    ASSERT_TRUE(WaitForFile(script + ".pid"));
    EXPECT_EQ(ReadText(script + ".args"),
              "--what=sleep:idle|--who=SVL_Editor|--why=Timeraufnahme läuft|--mode=block|sleep|"
              "infinity|");
    const QString helper = ReadText(script + ".pid"), child = ReadText(script + ".child");
    ASSERT_TRUE(Alive(helper) && Alive(child));
    inhibitor.Acquire();  // held already: no second helper
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.Held());
    QThread::msleep(50);
    EXPECT_FALSE(Alive(helper));
    EXPECT_FALSE(Alive(child)) << "the helper's command was left running";
}

TEST(SleepInhibitor, WithoutItsProgramTheRecordingGoesOnWithoutOne) {
    CSleepInhibitor inhibitor({"/nonexistent/systemd-inhibit", "sleep", "1"});
    inhibitor.Acquire();
    EXPECT_FALSE(inhibitor.Held());
    inhibitor.Release();
    CSleepInhibitor none(QStringList{});
    none.Acquire();
    EXPECT_FALSE(none.Held());
}

TEST(PowerOff, RunsTheCommandOfTheSettingAndReportsOneThatCannotStart) {
    QTemporaryDir dir;
    QSettings settings;
    settings.remove(PowerOff::kSettingKey);
    EXPECT_EQ(PowerOff::Command(), "systemctl poweroff");
    const QString marker = dir.filePath("powered off");
    settings.setValue(PowerOff::kSettingKey, "touch \"" + marker + "\"");
    QString error;
    ASSERT_TRUE(RunPowerOffCommand(error)) << error.toStdString();
    for (int i = 0; i < 200 && !QFile::exists(marker); ++i) QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker));

    settings.setValue(PowerOff::kSettingKey, "/nonexistent/poweroff now");
    EXPECT_FALSE(RunPowerOffCommand(error));
    EXPECT_EQ(error, "Der Befehl „/nonexistent/poweroff now“ konnte nicht gestartet werden");
    settings.setValue(PowerOff::kSettingKey, "  ");
    EXPECT_FALSE(RunPowerOffCommand(error));
    EXPECT_EQ(error, "Kein Power-Off-Befehl eingestellt");
    settings.remove(PowerOff::kSettingKey);
}

}  // namespace
