#include "tv/bars/CPictureSoundSettings.h"

namespace {
const QString Section = QStringLiteral("Einstellungen");

// One table for reading and writing: the stored name of each member.
struct Entry {
    const char* name;
    int CPictureSoundSettings::*member;
};
const Entry Entries[] = {
    {"Helligkeit", &CPictureSoundSettings::brightness},
    {"Kontrast", &CPictureSoundSettings::contrast},
    {"Sättigung", &CPictureSoundSettings::saturation},
    {"Volume", &CPictureSoundSettings::volume},
    {"Mute", &CPictureSoundSettings::mute},
    {"Kanal", &CPictureSoundSettings::channel},
    {"VideoOut", &CPictureSoundSettings::videoOut},
    {"VideoStandard", &CPictureSoundSettings::standard},
    {"VideoMode", &CPictureSoundSettings::aspect},
    {"VideoBars", &CPictureSoundSettings::testMode},
};
}  // namespace

void CPictureSoundSettings::Load(QSettings& settings) {
    const CPictureSoundSettings defaults;
    settings.beginGroup(Section);
    for (const Entry& e : Entries) {
        bool ok = false;
        const int value = settings.value(QString::fromUtf8(e.name)).toInt(&ok);
        this->*e.member = ok ? value : defaults.*e.member;
    }
    settings.endGroup();
}

void CPictureSoundSettings::Save(QSettings& settings) const {
    settings.beginGroup(Section);
    for (const Entry& e : Entries) settings.setValue(QString::fromUtf8(e.name), this->*e.member);
    settings.endGroup();
}
