#pragma once
// The texts of the CI menu dialog.
#include <QString>

namespace CiWindowTexts {
inline const QString Title = QStringLiteral("CI-Menü");
inline const QString Group = QStringLiteral("CI-Menü");
inline const QString Close = QStringLiteral("Schließen");
inline const QString Answer = QStringLiteral("Eingabe:");
inline const QString KeyInput = QStringLiteral("Keyeingabe:");
inline const QString Ok = QStringLiteral("OK");
/// The row shown while the module of that slot has not answered.
inline QString Waiting(int slot) {
    return QStringLiteral("Warte auf CAM-Antwort Slot %1...").arg(slot);
}
}  // namespace CiWindowTexts
