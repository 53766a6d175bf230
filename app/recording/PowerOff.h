#pragma once
// The command that switches the machine off after a timer recording with
// "Power Off": the setting "Power-Off-Befehl" of "Einstellungen" (default
// "systemctl poweroff"), split like a shell's words and started detached.
#include <QString>

namespace PowerOff {

inline const QString kSettingKey = QStringLiteral("Einstellungen/Power-Off-Befehl");
inline const QString kDefaultCommand = QStringLiteral("systemctl poweroff");

/// The command as set.
QString Command();

}  // namespace PowerOff

/// Starts the command; false, with the reason in `error`, when it is empty
/// or cannot start.
bool RunPowerOffCommand(QString& error);
