#pragma once
// The TV part's German texts, as the program shows them.
#include <QString>

namespace TvTexts {
inline const QString ErrorCaption = QStringLiteral("Fehler");
inline const QString InitPciFailed = QStringLiteral("BoardControl.InitPCI nicht erfolgreich.");
inline const QString BootArmFailed = QStringLiteral("BoardControl.BootARM nicht erfolgreich.");
inline const QString FrontendInitFailed = QStringLiteral("Frontend.Init nicht erfolgreich.");
inline const QString FrontendTypeFailed =
    QStringLiteral("BoardControl.GetFrontendType nicht erfolgreich.");
inline const QString SiFilterFailed = QStringLiteral("Der Filter für die SI wurde nicht gesetzt!");
inline const QString SwitchCaption = QStringLiteral("Programmwechsel");
inline const QString EndRecording = QStringLiteral(
    "Wollen Sie wirklich die aktuelle Aufnahme beenden\nund zum gewählten Progrann wechseln?");
inline const QString EndPlayback = QStringLiteral(
    "Wollen Sie wirklich die aktuelle Wiedergabe beenden\nund zum gewählten Progrann wechseln?");
inline const QString NoLanguageInfo = QStringLiteral("keine Info");
inline const QString NoStreams = QStringLiteral("keine Streams");
/// Number entry on the on-screen display: digits so far, and the finished number.
inline const char* const EnteringNumber = "Programm: %3d-";
inline const char* const EnteredNumber = "Programm: %4d";
}  // namespace TvTexts
