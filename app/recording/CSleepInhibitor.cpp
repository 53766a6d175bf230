#include "recording/CSleepInhibitor.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QtDebug>

namespace {

constexpr int kStartMs = 2000, kEndMs = 2000;

}  // namespace

QStringList CSleepInhibitor::DefaultCommand() {
    return {QStringLiteral("systemd-inhibit"),  QStringLiteral("--what=sleep:idle"),
            QStringLiteral("--who=SVL_Editor"), QStringLiteral("--why=Timeraufnahme läuft"),
            QStringLiteral("--mode=block"),     QStringLiteral("sleep"),
            QStringLiteral("infinity")};
}

CSleepInhibitor::CSleepInhibitor(QStringList command, QObject* parent)
    : QObject(parent), command_(std::move(command)) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    // A group of its own, ended as one; and a helper left behind by a
    // program that crashed ends too, so that sleep is not blocked for good.
    process_.setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus) {
        if (!releasing_)
            qInfo("Schlafsperre beendet (Exit-Code %d), die Aufnahme läuft ohne", code);
    });
}

CSleepInhibitor::~CSleepInhibitor() { Release(); }

void CSleepInhibitor::Acquire() {
    if (Held() || command_.isEmpty()) return;
    process_.start(command_.constFirst(), command_.mid(1));
    if (!process_.waitForStarted(kStartMs))
        qInfo("Schlafsperre nicht möglich (%s): %s", qUtf8Printable(command_.constFirst()),
              qUtf8Printable(process_.errorString()));
}

void CSleepInhibitor::SignalGroup(int signal) {
    const qint64 pid = process_.processId();
    if (pid > 0) ::kill(-pid_t(pid), signal);
}

void CSleepInhibitor::Release() {
    if (!Held()) return;
    releasing_ = true;
    SignalGroup(SIGTERM);
    if (!process_.waitForFinished(kEndMs)) {
        SignalGroup(SIGKILL);
        process_.waitForFinished(kEndMs);
    }
    releasing_ = false;
}
