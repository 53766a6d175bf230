#pragma once
// German texts of the playlist window and its entry dialog, as the program shows them.
#include <QString>
#include <QStringList>

namespace PlayListTexts {

// The window and its list.
inline const QString WindowTitle = QStringLiteral("Wiedergabeliste");
inline const QString ListName = QStringLiteral("ThePlayList");
inline const QString ColumnNr = QStringLiteral("Nr");
inline const QString ColumnFileName = QStringLiteral("Dateiname");
inline const QString ColumnPlayLength = QStringLiteral("Spiellänge");
inline const QString ColumnLastPlayed = QStringLiteral("Zuletzt gespielt");
inline const QString ColumnRepetitions = QStringLiteral("Anzahl Wiederholungen");
inline const QString ColumnPause = QStringLiteral("Spielpause");
inline const QString ColumnStatus = QStringLiteral("Status");
inline const QString StatusStopped = QStringLiteral("gestoppt");
inline const QString StatusPlaying = QStringLiteral("Wiedergabe läuft");
inline const QString StatusFinished = QStringLiteral("Wiedergabe beendet");
inline const QString PauseFormat = QStringLiteral("%1 sek");

// The context menu.
inline const QString MenuTitle = QStringLiteral("Playliste");
inline const QString MenuInsert = QStringLiteral("Eintrag einfügen");
inline const QString MenuEdit = QStringLiteral("Eintrag bearbeiten");
inline const QString MenuDeleteSelected = QStringLiteral("Selektierte Einträge löschen");
inline const QString MenuDeleteAll = QStringLiteral("Alle Einträge löschen");
inline const QString MenuLoad = QStringLiteral("Wiedergabeliste laden");
inline const QString MenuSave = QStringLiteral("Wiedergabeliste speichern");
inline const QString MenuPlay = QStringLiteral("Selektierten Eintrag wiedergeben");

// Questions.
inline const QString EditCaption = QStringLiteral("Wiedergabenliste bearbeiten");
inline const QString AskDeleteOne =
    QStringLiteral("Wollen Sie den selektierten Wiedergabenlisteneintrag wirklich löschen?");
inline const QString AskDeleteSeveral =
    QStringLiteral("Wollen Sie die selektierten Wiedergabenlisteneinträge wirklich löschen?");
inline const QString AskDeleteAll =
    QStringLiteral("Wollen Sie wirklich alle Wiedergabenlisteneinträge löschen?");

// The list's file dialogs.
inline const QString OpenTitle = QStringLiteral("Wiedergabeliste öffnen");
inline const QString SaveTitle = QStringLiteral("Wiedergabeliste speichern");
inline const QString ListSuffix = QStringLiteral("dat");
inline const QStringList OpenFilters = {QStringLiteral("Wiedergabelisten (*.dat)"),
                                        QStringLiteral("Alle Dateien (*.*)")};
inline const QStringList SaveFilters = {QStringLiteral("Wiedergabeliste (*.dat)"),
                                        QStringLiteral("Alle Dateien (*.*)")};

// The entry dialog.
inline const QString EntryTitle = QStringLiteral("Playlisteneintrag");
inline const QString EntryBox = QStringLiteral("Options");
inline const QString EntryFileName = QStringLiteral("Dateiname:");
inline const QString EntryBrowse = QStringLiteral("..");
inline const QString EntryPlayLength = QStringLiteral("Spiellänge:");
inline const QString EntryLastPlayed = QStringLiteral("Zuletzt gespielt:");
inline const QString EntryPause = QStringLiteral("Playpause:");
inline const QString EntryRepetitions = QStringLiteral("Wiederholungen:");
inline const QString EntryPowerOff = QStringLiteral("Power Off:");
inline const QString RangeMessage =
    QStringLiteral("Bitte geben Sie eine Zahl zwischen %1 und %2 ein.");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Abbrechen");
inline const QString Yes = QStringLiteral("&Ja");
inline const QString No = QStringLiteral("&Nein");

// Recordings to play: the VCR's open-for-playback list, with the transport
// streams the emulated card records as well (a filter of their own; "Alle
// Dateien" keeps its text).
inline const QString PlaybackTitle = QStringLiteral("Videodatei zum Abspielen öffnen");
inline const QStringList PlaybackFilters = {
    QStringLiteral("Alle Dateien (*.psa;*.mp2;*.psv;*.pva)"),
    QStringLiteral("PES Audio Dateien (*.psa)"),
    QStringLiteral("MP2 Audio Dateien (*.mp2)"),
    QStringLiteral("PES Video Dateien (*.psv)"),
    QStringLiteral("PES Audio/Video Dateien (*.pva)"),
    QStringLiteral("MPEG-TS Dateien (*.ts)")};

}  // namespace PlayListTexts
