#pragma once
#include <QSettings>
#include <cstdint>

/// The four option values of section "Einstellungen". Two of them live under
/// each other's names ("PID Anzeigemode" holds the VCR back end, "Verwendete
/// API" the PID display); stored settings depend on that pairing, so it stays.
struct CAppOptions {
    static inline const QString Section = QStringLiteral("Einstellungen");
    static inline const QString KeyBackEnd = QStringLiteral("PID Anzeigemode");
    static inline const QString KeyPidDisplay = QStringLiteral("Verwendete API");
    static inline const QString KeyFadeOut = QStringLiteral("FadeOut Mode");
    static inline const QString KeyGuideOffset = QStringLiteral("Zeitoffset EPD");

    int lowLevel = 1;                 ///< VCR back end: 0 high level, 1 low level
    int pidHex = 0;                   ///< PID display: 0 decimal, 1 "%04X"
    int fadeOutDisabled = 0;          ///< non-zero: dialogs close without fading
    std::int8_t guideHourOffset = 0;  ///< hours added to every guide time

    void Load(QSettings& settings);
    void Save(QSettings& settings) const;
};
