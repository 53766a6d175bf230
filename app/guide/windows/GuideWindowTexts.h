#pragma once
// German texts of the programme guide's windows, as the program shows them.
#include <QString>

namespace GuideWindowTexts {

// The schedule list window and its list.
inline const QString ScheduleObjectName = QStringLiteral("EPG-ScheduleInfo");
inline const QString ScheduleListName = QStringLiteral("TheEPGScheduleList");
inline const QString TitleFor = QStringLiteral("Elektronischer Programmführer für '%1'");
inline const QString TitleEmpty = QStringLiteral("Elektronischer Programmführer");

// The columns.
inline const QString ColumnNr = QStringLiteral("Nr");
inline const QString ColumnService = QStringLiteral("Sendername");
inline const QString ColumnStart = QStringLiteral("Startzeit");
inline const QString ColumnDuration = QStringLiteral("Dauer");
inline const QString ColumnEvent = QStringLiteral("Event");
inline const QString ColumnShortText = QStringLiteral("Art");
inline const QString ColumnRating = QStringLiteral("FSK");
inline const QString UnknownService = QStringLiteral("unbekannt");
inline const QString RatingFree = QStringLiteral("frei");
inline const QString RatingFormat = QStringLiteral("FSK%1");
inline const QString DurationFormat = QStringLiteral("%1 min");

// The content categories (level 1 of the content descriptor).
inline const QString CategoryFilm = QStringLiteral("Film/Drama");
inline const QString CategoryNews = QStringLiteral("Nachrichten/Aktuelles");
inline const QString CategoryShow = QStringLiteral("Show/Spielshow");
inline const QString CategorySport = QStringLiteral("Sport");
inline const QString CategoryChildren = QStringLiteral("Kinder/Jugend");
inline const QString CategoryMusic = QStringLiteral("Musik/Ballett/Tanz");
inline const QString CategoryArts = QStringLiteral("Kunst/Kultur");
inline const QString CategorySociety = QStringLiteral("Gesellschaft/Politik/Wirtschaft");
inline const QString CategoryEducation = QStringLiteral("Bildung/Wissenschaft/Sachthemen");
inline const QString CategoryLeisure = QStringLiteral("Freizeit/Hobby");
inline const QString CategorySpecial = QStringLiteral("Besondere Merkmale");
inline const QString CategoryOther = QStringLiteral("Sonstiges");

// Calendar names for the start times.
inline const QString Months[12] = {
    QStringLiteral("Januar"),  QStringLiteral("Februar"),  QStringLiteral("März"),
    QStringLiteral("April"),   QStringLiteral("Mai"),      QStringLiteral("Juni"),
    QStringLiteral("Juli"),    QStringLiteral("August"),   QStringLiteral("September"),
    QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember")};
inline const QString Weekdays[7] = {  // from Sunday
    QStringLiteral("Sonntag"),  QStringLiteral("Montag"),     QStringLiteral("Dienstag"),
    QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"), QStringLiteral("Freitag"),
    QStringLiteral("Samstag")};

// The context menu.
inline const QString MenuTitle = QStringLiteral("Schedule");
inline const QString MenuAddToTimers = QStringLiteral("Zur Timerliste addieren");
inline const QString MenuDetail = QStringLiteral("Event Detailansicht");
inline const QString MenuCategories = QStringLiteral("Kategorieansicht ein/aus");
inline const QString MenuReload = QStringLiteral("Liste aktualisieren");
inline const QString MenuSearch = QStringLiteral("Suchen...");

// The search and its result.
inline const QString SearchCaption = QStringLiteral("Suchen");
inline const QString SearchPrompt = QStringLiteral("Suchen nach:");
inline const QString NothingFound = QStringLiteral("Keine Sendung gefunden.");
inline const QString ResultTitle = QStringLiteral("Suchergebnis");
inline const QString ResultListName = QStringLiteral("TheEPGSearchResultList");

// The detail window.
inline const QString DetailTitle = QStringLiteral("Detailinfo");
inline const QString DetailService = QStringLiteral("Sendername:");
inline const QString DetailStart = QStringLiteral("Beginnzeit:");
inline const QString DetailDuration = QStringLiteral("Dauer:");
inline const QString DetailShortText = QStringLiteral("Art:");
inline const QString DetailRating = QStringLiteral("FSK:");
inline const QString DetailDescription = QStringLiteral("Beschreibung:");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Abbrechen");

}  // namespace GuideWindowTexts
