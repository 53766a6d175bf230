#pragma once
// The channel scan's texts in its dialogs and messages.
#include <QString>

namespace ScanWindowTexts {
inline const QString Caption = QStringLiteral("Sendersuchlauf");
inline const QString Reception = QStringLiteral("Empfang");
inline const QString LnbLabel = QStringLiteral("LNB:");
inline const QString Cable = QStringLiteral("Kabel");
inline const QString Source = QStringLiteral("Transponder");
inline const QString FromList = QStringLiteral("Transponder der Liste (LNB)");
inline const QString FromNit = QStringLiteral("NIT des eingestellten Transponders");
inline const QString FromFile = QStringLiteral("Transponderdatei...");
inline const QString FromCable = QStringLiteral("Kabelkanäle");
inline const QString Browse = QStringLiteral("Durchsuchen...");
inline const QString FileFilter =
    QStringLiteral("Transponderdateien (*.txt *.tp);;Alle Dateien (*)");
inline const QString Modulation = QStringLiteral("Modulation:");
inline const QString SymbolRate = QStringLiteral("Symbolrate (kSym/s):");
inline const QString Start = QStringLiteral("Starten");
inline const QString Cancel = QStringLiteral("Abbrechen");

inline const QString ProgressTitle = QStringLiteral("Sendersuchlauf läuft");
/// "Transponder 2 von 5: 12226 MHz V 27500"
inline const QString TransponderOf = QStringLiteral("Transponder %1 von %2: %3");
inline const QString FoundSoFar = QStringLiteral("Gefundene Programme: %1");
inline const QString Finished = QStringLiteral("Suchlauf beendet");

/// The LNB name that programs found on the cable carry.
inline const QString CableLnbName = QStringLiteral("Kabel");

// Refusals and failures.
inline const QString NoList = QStringLiteral(
    "Es ist keine Programmliste geöffnet. Bitte zuerst eine Liste öffnen oder anlegen.");
inline const QString NoCard = QStringLiteral(
    "Es wurde keine DVB-Karte gefunden: ohne Karte ist kein Sendersuchlauf möglich.");
inline const QString NoLnb = QStringLiteral(
    "Die Liste enthält kein LNB. Bitte zuerst ein LNB anlegen (Programm bearbeiten, "
    "LNB-Parameter).");
inline const QString RecordingRuns =
    QStringLiteral("Während einer Aufnahme ist kein Sendersuchlauf möglich.");
inline const QString NoProgramsOnLnb =
    QStringLiteral("Die Liste enthält keine Programme auf dem LNB \"%1\".");
inline const QString NothingTuned = QStringLiteral(
    "Es ist kein Programm eingestellt: die Suche über die NIT beginnt auf dem Transponder des "
    "eingestellten Programms.");
inline const QString TunedOnOtherLnb =
    QStringLiteral("Das eingestellte Programm liegt nicht auf dem LNB \"%1\".");
inline const QString NoFileChosen = QStringLiteral("Bitte eine Transponderdatei wählen.");
inline const QString EmptyFile = QStringLiteral("Die Transponderdatei enthält keine Transponder.");
inline const QString NoCableChannels =
    QStringLiteral("Die Kanaltabelle enthält keine Kanäle im gewählten Bereich.");

/// The closing box: "12 Programme gefunden, davon 3 neu und 9 aktualisiert."
inline QString Summary(int found, int added, int updated) {
    return QStringLiteral("%1 Programme gefunden, davon %2 neu und %3 aktualisiert.")
        .arg(found)
        .arg(added)
        .arg(updated);
}
inline const QString CancelledNote = QStringLiteral("Der Suchlauf wurde abgebrochen.");
inline const QString NoneLocked =
    QStringLiteral("Auf keinem Transponder wurde ein Signal gefunden.");
}  // namespace ScanWindowTexts
