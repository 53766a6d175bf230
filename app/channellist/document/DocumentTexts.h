#pragma once
// German texts of the file commands, kept in one place.
#include <QString>

namespace DocumentTexts {
/// Type description: window title, default name, short name, filter name,
/// extension, registered type, type description.
inline const QString AppTitle = QStringLiteral("SVL_Editor");
inline const QString ShortName = QStringLiteral("SVL_Ed");
inline const QString FilterName = QStringLiteral("Dateityp SVL_Ed (*.svl)");
inline const QString Extension = QStringLiteral(".svl");
inline const QString FileTypeId = QStringLiteral("SVLEditor.Document");
inline const QString FileTypeDescription = QStringLiteral("SVL_Ed Document");

inline const QString OpenTitle = QStringLiteral("SVL-Programmliste öffnen...");
inline const QString SaveAsTitle = QStringLiteral("SVL-Programmlistei speichern unter...");
inline const QString SaveCopyTitle = QStringLiteral("SVL-Datei speichern als...");
inline const QString AllFilesName = QStringLiteral("*.*");
inline const QString Untitled = QStringLiteral("Untitled");
/// Open filter: display name and pattern alternating, separated by "|".
inline const QString OpenFilter =
    QStringLiteral("SVL-Programmlisten (.svl)|*.svl|Alle Dateien (*.*)|*.*|");

/// The framework's own messages (our wording).
inline const QString CannotOpen =
    QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden.\n%2");
inline const QString BadFormat =
    QStringLiteral("Die Datei \"%1\" ist keine gültige SVL-Programmliste.\n%2 (Byte %3)");
inline const QString CannotSave =
    QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.\n%2");
inline const QString SaveChanges =
    QStringLiteral("Sollen die Änderungen an \"%1\" gespeichert werden?");
inline const QString TooLarge = QStringLiteral("Die Datei ist zu groß.");
}  // namespace DocumentTexts
