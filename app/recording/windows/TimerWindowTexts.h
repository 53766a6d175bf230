#pragma once
// German texts of the timer list window "Timerliste" and the timer dialog
// "Timer", as the program shows them.
#include <QString>
#include <array>

namespace TimerWindowTexts {

// The window and its list.
inline const QString WindowTitle = QStringLiteral("Timerliste");
inline const QString ListName = QStringLiteral("TheTimerList");
inline const QString ColumnNr = QStringLiteral("Nr");
inline const QString ColumnProgram = QStringLiteral("Programm");
inline const QString ColumnStart = QStringLiteral("Startzeit");
inline const QString ColumnEnd = QStringLiteral("Endzeit");
inline const QString ColumnFormat = QStringLiteral("Format");
inline const QString ColumnFileName = QStringLiteral("Dateiname");
inline const QString ColumnStatus = QStringLiteral("Status");

// The context menu and its questions.
inline const QString MenuTitle = QStringLiteral("Timer");
inline const QString MenuEdit = QStringLiteral("Editiere Eintrag");
inline const QString MenuDelete = QStringLiteral("Lösche Eintrag");
inline const QString MenuDeleteAll = QStringLiteral("Alle Einträge löschen");
inline const QString EditCaption = QStringLiteral("Timerliste bearbeiten");
inline const QString AskDeleteOne =
    QStringLiteral("Wollen Sie den selektierten Timereintrag wirklich löschen?");
inline const QString AskDeleteSeveral =
    QStringLiteral("Wollen Sie die selektierten Timereinträge wirklich löschen?");

// The dialog.
inline const QString DialogTitle = QStringLiteral("Timer");
inline const QString DialogBox = QStringLiteral("Eigenschaften");
inline const QString Program = QStringLiteral("Programm:");
inline const QString Start = QStringLiteral("Beginnzeit:");
inline const QString End = QStringLiteral("Endezeit:");
inline const QString FileName = QStringLiteral("Dateiname:");
inline const QString Browse = QStringLiteral("..");
inline const QString Format = QStringLiteral("Format:");
inline const std::array<QString, 4> FormatRadios = {
    QStringLiteral("Audio PES"), QStringLiteral("Audio Mp2"), QStringLiteral("Video PES"),
    QStringLiteral("A/V PES")};
inline const QString PowerOff = QStringLiteral("Power Off:");
inline const QString Weekly = QStringLiteral("Wochenprogramm:");
/// Saturday first, as the flag bits run.
inline const std::array<QString, 7> Days = {
    QStringLiteral("Sa"), QStringLiteral("So"), QStringLiteral("Mo"), QStringLiteral("Di"),
    QStringLiteral("Mi"), QStringLiteral("Do"), QStringLiteral("Fr")};
inline const QString BrowseTitle = QStringLiteral("Videodatei zum Aufnehmen öffnen");

// What OK and ".." refuse or warn about (caption TimerTexts::SettingsCaption).
inline const QString EndNotAfterStart =
    QStringLiteral("Endzeit <= Startzeit - Keine Timeraufzeichnung möglich!");
inline const QString NoFileName =
    QStringLiteral("Kein Dateiname angegeben - Keine Timeraufzeichnung möglich!");
inline const QString NoWeekday =
    QStringLiteral("Es wurde kein Wochentag gewählt - Bitte überprüfen!");
inline const QString EndTimeBeforeStartTime =
    QStringLiteral("Endzeit darf nicht kleiner Startzeit sein! Bitte korrigieren!");
inline const QString NoFormat = QStringLiteral(
    "Achtung - es wurde kein Dateiformat für die Aufnahme angegeben.\nBitte überprüfen, da sonst "
    "die Timeraufnahme nicht garantiert werden kann!");

}  // namespace TimerWindowTexts
