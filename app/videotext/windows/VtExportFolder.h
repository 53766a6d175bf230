#pragma once
// Where the window's HTML exports go: a folder kept in the program's settings
// store, by default "Videotext" in the user's documents. The export file of a
// page is "<folder>/Unbekannt/VT<page>-<subpage>.html".
#include <QString>
#include <string>

namespace VtExportFolder {

/// The settings key of the export folder.
inline const QString kSettingKey = QStringLiteral("Einstellungen/Videotext-Exportordner");

/// "Videotext" in the user's documents folder.
QString DefaultFolder();
/// The folder in the settings store, else the default.
QString Folder();
void SetFolder(const QString& folder);

/// The export file of a page and subpage index below `folder`.
QString FileFor(const QString& folder, int page, int subpageIndex);

/// Writes `bytes` to `path`, making the folders on the way; false when the
/// file cannot be made or written.
bool Write(const QString& path, const std::string& bytes);

}  // namespace VtExportFolder
