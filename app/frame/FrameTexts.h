#pragma once
// German texts of the main frame, kept in one place.
#include <QString>

namespace FrameTexts {
inline const QString ClassName = QStringLiteral("SVL_Editor Class");
inline const QString ToolBarTitle = QStringLiteral("Werkzeugleiste");
inline const QString DialogBarTitle = QStringLiteral("Optionen");
inline const QString ProgramFilter = QStringLiteral("Programmfilter");
inline const QString Language = QStringLiteral("Sprache");
inline const QString QuickFilter = QStringLiteral("Schnellfilter");
inline const QString QuickFilterHint = QStringLiteral("Name oder Provider");
inline const QString FilterTv = QStringLiteral("TV");
inline const QString FilterRadio = QStringLiteral("Radio");
inline const QString FilterData = QStringLiteral("Data");
inline const QString FilterAll = QStringLiteral("Alle");

inline const QString TimerStatusInitial = QStringLiteral("Status Timer: nicht aktiv");
inline const QString Slot1Initial = QStringLiteral("Status CA Slot1: unbekannt");
inline const QString Slot2Initial = QStringLiteral("Status CA Slot2: unbekannt");
/// Slot texts after a status report: prefix, then the state.
inline const QString SlotPrefix = QStringLiteral("Status CA Slot %1: ");
inline const QString SlotEmpty = QStringLiteral("Slot leer");
inline const QString SlotModule = QStringLiteral("Modul in Slot");
inline const QString SlotModuleOk = QStringLiteral("Modul ok");
inline const QString SlotUnknown = QStringLiteral("unbekannt");

inline const QString RecentPlaceholder = QStringLiteral("Letzte Datei");

inline const QString ButtonOk = QStringLiteral("OK");
inline const QString ButtonCancel = QStringLiteral("Abbrechen");

// "Optionen" (Extras / Einstellungen...).
inline const QString OptionsTitle = QStringLiteral("Optionen");
inline const QString OptionsDisplayBox = QStringLiteral("Darstellung");
inline const QString PidDecimal = QStringLiteral("PID Anzeige in Dezimal");
inline const QString PidHex = QStringLiteral("PID Anzeige in HEX");
inline const QString FadeOutOff = QStringLiteral("Fade-Out deaktivieren");
inline const QString OptionsVideoBox = QStringLiteral("Video");
inline const QString HighLevelApi = QStringLiteral("Verwende High-Level API");
inline const QString LowLevelApi = QStringLiteral("Verwende Low-Level API");
inline const QString OptionsGuideBox = QStringLiteral("EPG");
inline const QString GuideOffset = QStringLiteral("Zeitoffset in Stunden");
inline const QString GuideOffsetRange =
    QStringLiteral("Bitte geben Sie eine ganze Zahl zwischen -12 und 12 ein.");

// The about box.
inline const QString AboutTitle = QStringLiteral("Info über SVL_Editor");
inline const QString ProgramName = QStringLiteral("SVL_Editor");
inline const QString AboutVersion = QStringLiteral("Version %1");
inline const QString AboutSystemInfo = QStringLiteral("Systeminfo");
}  // namespace FrameTexts
