// Widget tests run on the offscreen platform with their own configuration
// folders, so that no real desktop setting or user file is read or written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    for (const char* var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(var, (home.path() + "/" + var).toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setOrganizationName("SVL-Programm Editor");
    QApplication::setApplicationName("SVL_Editor");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
