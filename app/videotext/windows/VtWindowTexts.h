#pragma once
// The texts of the videotext window.
#include <QString>

namespace VtWindowTexts {
inline const QString Title = QStringLiteral("SVL-Editor Videotext");
inline const QString Caption = QStringLiteral("SVL-Editor");
inline const QString Page = QStringLiteral("Seite");
inline const QString Received = QStringLiteral("Aktuell empfangene Seite:");
inline const QString Export = QStringLiteral("Export");
inline const QString Folder = QStringLiteral("Ordner...");
inline const QString End = QStringLiteral("Ende");
inline const QString PreviousPage = QStringLiteral("<");
inline const QString NextPage = QStringLiteral(">");
inline const QString FirstPage = QStringLiteral("100");
inline const QString PreviousSubpage = QStringLiteral("-");
inline const QString NextSubpage = QStringLiteral("+");
inline const QString PreviousPageTip = QStringLiteral("Vorherige Seite");
inline const QString NextPageTip = QStringLiteral("Nächste Seite");
inline const QString FirstPageTip = QStringLiteral("Erste Seite");
inline const QString PreviousSubpageTip = QStringLiteral("Vorherige Unterseite");
inline const QString NextSubpageTip = QStringLiteral("Nächste Unterseite");
inline const QString FolderTip = QStringLiteral("Ordner für den HTML-Export wählen");
inline const QString SlotTaken = QStringLiteral("Alle Videotext-Dialoge belegt");
inline const QString UnknownDialog = QStringLiteral("Fehler :Unbekannter Videotext-Dialog");
inline const QString UnknownDialogs = QStringLiteral("Fehler :Unbekannter Videotext-Dialoge");
inline const QString ExportFailed =
    QStringLiteral("Fehler :HTML-Export-Datei kann nicht geöffnet werden");
inline const QString NoTeletext = QStringLiteral("Dieses Programm hat keinen Videotext.");
inline QString TeletextRefused(int code) {
    return QStringLiteral("Der Videotext kann nicht eingeschaltet werden (Fehler %1).").arg(code);
}
inline const QString Yes = QStringLiteral("Ja");
inline const QString No = QStringLiteral("Nein");

inline QString TitleOf(int page) { return QStringLiteral("SVL-Editor VT %1").arg(page); }
inline QString Searching(int page) { return QStringLiteral("Suche Seite %1").arg(page); }
inline QString Found(int page) { return QStringLiteral("Seite %1 gefunden").arg(page); }
inline QString Cache(int count) { return QStringLiteral("VT-Cache %1").arg(count); }
/// "%02d/%02d": the subpage (from 1) and the page's subpage count.
inline QString Subpage(int number, int count) {
    return QStringLiteral("%1/%2")
        .arg(number, 2, 10, QLatin1Char('0'))
        .arg(count, 2, 10, QLatin1Char('0'));
}
inline QString Overwrite(const QString& file) {
    return QStringLiteral("Die Datei %1 gibt es schon. Überschreiben?").arg(file);
}
inline QString Exported(const QString& file) { return QStringLiteral("Exportiert: %1").arg(file); }
}  // namespace VtWindowTexts
