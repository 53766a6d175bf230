#pragma once
// The state of the picture and sound bar as it is kept in section
// "Einstellungen" of the settings store.
#include <QSettings>

struct CPictureSoundSettings {
    int brightness = 170;  ///< "Helligkeit", 0..255
    int contrast = 160;    ///< "Kontrast", 0..255
    int saturation = 200;  ///< "Sättigung", 0..255
    int volume = 69;       ///< "Volume", 0..69
    int mute = 0;          ///< "Mute", 0 or 1
    int channel = 0;       ///< "Kanal": 0 A+B, 1 A, 2 B
    int videoOut = 1;      ///< "VideoOut": 0 none, 1 CVBS & RGB, 2 CVBS & YC, 3 YC
    int standard = 0;      ///< "VideoStandard": 0 PAL, 1 NTSC
    int aspect = 0;        ///< "VideoMode": 0 4:3, 1 16:9
    int testMode = 0;      ///< "VideoBars": 0 none, 1 type 1, 2 type 2

    /// Reads every value with its default for a missing or unreadable one.
    void Load(QSettings& settings);
    void Save(QSettings& settings) const;
    bool operator==(const CPictureSoundSettings&) const = default;
};
