#pragma once
// The guide's own texts on the card's screen and in its messages.
#include <QString>

namespace GuideTexts {
inline const QString NoInformation = QStringLiteral("Keine Informationen im DVB-Stream!");
inline const QString FilterFailed = QStringLiteral("Der Filter für die SI wurde nicht gesetzt!");
inline const QString ErrorCaption = QStringLiteral("Fehler");
/// The date of a full page: "Montag, 11.März 2024".
inline const QString PageDate = QStringLiteral("dddd, dd.MMMM yyyy");
}  // namespace GuideTexts
