// The application the list benchmarks run in: offscreen unless a platform is
// set, settings in a temporary folder (never the user's), the program's
// organisation and name, and the program filter on "Alle".
#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

// Comes first, so that the environment is set before the application exists.
struct BenchEnvironment {
    QTemporaryDir home;
    BenchEnvironment() {
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

struct BenchApplication : BenchEnvironment {
    QApplication app;
    BenchApplication(int& argc, char** argv) : app(argc, argv) {
        QCoreApplication::setOrganizationName(QStringLiteral("SVL-Programm Editor"));
        QCoreApplication::setApplicationName(QStringLiteral("SVL_Editor"));
        QSettings().setValue(QStringLiteral("Einstellungen/Programmfilter"), 3);  // "Alle"
    }
};
