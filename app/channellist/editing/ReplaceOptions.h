#pragma once
#include <QString>

class QSettings;

/// The choices of the replace dialog, stored as the bits of "ErsetzOptionen".
struct ReplaceOptions {
    bool allColumns = true;     ///< bit 0 "Alle Spalten"
    bool lnbName = false;       ///< bit 1 "LNB-Name"
    bool programName = false;   ///< bit 2 "Programmname"
    bool providerName = false;  ///< bit 3 "Providername"
    bool matchCase = false;     ///< bit 4 "Groß-/&Kleinschreibung beachten"
    bool wholeList = false;     ///< bit 5: "Gesa&mt-Datei"; clear means "A&uswahl"

    int ToBits() const;
    static ReplaceOptions FromBits(int bits);

    bool ChangesName() const { return allColumns || programName; }
    bool ChangesProvider() const { return allColumns || providerName; }
    bool ChangesLnbName() const { return allColumns || lnbName; }

    bool operator==(const ReplaceOptions&) const = default;
};

/// What the replace dialog works with.
struct ReplaceRequest {
    QString search;
    QString replacement;
    ReplaceOptions options;
};

/// The replace dialog's memory in the settings group "Einstellungen". The search text is
/// stored under "Ersetzstring" and the replacement under "Suchstring": existing settings
/// rely on these crossed names.
namespace ReplaceSettings {
ReplaceRequest Load(QSettings& settings);
void Save(QSettings& settings, const ReplaceRequest& request);
}  // namespace ReplaceSettings
