#pragma once
// German texts of the timers without windows: the data file's messages, the
// statuses and formats as the timer list shows them, the status pane, the
// warning about two timers on different transponders.
#include <QString>

namespace TimerTexts {

// The data file.
inline const QString FileName = QStringLiteral("Timer.dat");
inline const QString FileCaption = QStringLiteral("Fehler in der Timer-Datei");
inline const QString WrongIdentifier =
    QStringLiteral("Timer-Datei hat eine falsche Dateikennung!\nEs wird eine neue Datei erstellt!");
inline const QString Damaged =
    QStringLiteral("Timer-Datei ist beschädigt!\nEs wird eine neue Datei erstellt!");
/// %1 the name of the kept copy.
inline const QString KeptAs = QStringLiteral("Die alte Datei wurde als „%1“ aufbewahrt.");
inline const QString SaveCaption = QStringLiteral("Timerliste speichern");
/// %1 the file, %2 the reason.
inline const QString SaveFailed =
    QStringLiteral("Die Timer-Datei „%1“ konnte nicht gespeichert werden:\n%2");

// Statuses and formats.
inline const QString StatusArmed = QStringLiteral("Timer ein");
inline const QString StatusRecording = QStringLiteral("Aufzeichnung läuft");
inline const QString StatusFinished = QStringLiteral("Aufzeichnung beendet");
inline const QString FormatUnknown = QStringLiteral("unbekannt");

// The frame's status pane.
inline const QString PaneActive = QStringLiteral("Status Timer: aktiv");
inline const QString PaneInactive = QStringLiteral("Status Timer: nicht aktiv");

// Two timers at the same time on different transponders.
inline const QString SettingsCaption = QStringLiteral("Fehlerhafte Timereinstellung");
/// %1 and %2: program name and start of each timer.
inline const QString Overlap = QStringLiteral(
    "Achtung - der Timer für „%1“ überschneidet sich mit dem Timer für „%2“ auf einem anderen "
    "Transponder.\nDie Karte hat nur einen Empfänger: nur eine der beiden Aufnahmen ist möglich.");

}  // namespace TimerTexts
