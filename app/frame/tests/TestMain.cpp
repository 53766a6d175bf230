// Frame tests run offscreen with HOME, the settings and the data folders in a
// temporary directory, so that nothing of the real user is read or written.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "frame/CSVL_EditorApp.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toUtf8());
    qputenv("SVL_NO_DESKTOP_REGISTRATION", "1");
    QDir().mkpath(home.path() + "/runtime");
    QFile::setPermissions(home.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
