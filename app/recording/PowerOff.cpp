#include "recording/PowerOff.h"

#include <QProcess>
#include <QSettings>

namespace PowerOff {

QString Command() { return QSettings().value(kSettingKey, kDefaultCommand).toString(); }

}  // namespace PowerOff

bool RunPowerOffCommand(QString& error) {
    const QString command = PowerOff::Command();
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty()) {
        error = QStringLiteral("Kein Power-Off-Befehl eingestellt");
        return false;
    }
    const QString program = words.takeFirst();
    if (QProcess::startDetached(program, words)) return true;
    error = QStringLiteral("Der Befehl „%1“ konnte nicht gestartet werden").arg(command);
    return false;
}
