#include "receiver/CCardFailureReport.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>

namespace {

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

bool Platform(const char* name) {
    const char* value = std::getenv("QT_QPA_PLATFORM");
    return value && std::strncmp(value, name, std::strlen(name)) == 0;
}

}  // namespace

bool CCardFailureReport::DisplayAvailable() {
    // No one could close a box on these platforms: it would hang the start.
    if (Platform("offscreen") || Platform("minimal")) return false;
    return Named("DISPLAY") || Named("WAYLAND_DISPLAY");
}

std::unique_ptr<QMessageBox> CCardFailureReport::MakeBox(const QString& message) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("SVL_Editor"),
                                             message, QMessageBox::Ok);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

void CCardFailureReport::Show(const char* message) {
    if (!message || !DisplayAvailable()) return;
    if (QApplication::instance()) {
        MakeBox(QString::fromUtf8(message))->exec();
        return;
    }
    // Before main: the program's own application object does not exist yet.
    static int argc = 1;
    static char name[] = "SVL_Editor";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    MakeBox(QString::fromUtf8(message))->exec();
}
