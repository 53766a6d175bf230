// Runs offscreen with HOME and the settings folders in a temporary directory.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toUtf8());
    qputenv("SVL_NO_DESKTOP_REGISTRATION", "1");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("SVL-Programm Editor"));
    QCoreApplication::setApplicationName(QStringLiteral("SVL_Editor"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
