#include "testsupport/QtTestRun.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void PointUserFoldersAt(const QString& home) {
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/cache").toUtf8());
    // The runtime folder must exist and be private, or Qt ignores it.
    const QString runtime = home + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    qputenv("SVL_NO_DESKTOP_REGISTRATION", "1");
}

void NameSettingsStore() {
    QCoreApplication::setOrganizationName(QStringLiteral("SVL-Programm Editor"));
    QCoreApplication::setApplicationName(QStringLiteral("SVL_Editor"));
}

}  // namespace

namespace TestSupport {

int RunQtTests(int argc, char** argv, void (*setUp)()) {
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    PointUserFoldersAt(home.path());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    (setUp ? setUp : NameSettingsStore)();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace TestSupport
