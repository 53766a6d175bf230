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
// Full screen
inline const QString DisplayModeCaption = QStringLiteral("Desktopauflösung ändern");
inline const QString ModeRestartNeeded =
    QStringLiteral("The computer must be restarted in order for the graphics mode to work.");
inline const QString ModeBadFlags = QStringLiteral("An invalid set of flags was passed in.");
inline const QString ModeDriverFailed =
    QStringLiteral("The display driver failed the specified graphics mode.");
inline const QString ModeNotSupported = QStringLiteral("The graphics mode is not supported.");
inline const QString ModeRegistryFailed =
    QStringLiteral("Unable to write settings to the registry.");
inline const QString FullScreenCaption = QStringLiteral("Vollbildmodus");
inline const QString BackgroundFailed =
    QStringLiteral("Hintergrund für den Vollbildmodus konnte nicht erstellt werden!");
// The video window's pop-up menus
inline const QString TvMenuTitle = QStringLiteral("TV und EPG Kontrolle");
inline const QString VcrMenuTitle = QStringLiteral("Videorekorder");
}  // namespace TvTexts
