#include "frame/CAppOptions.h"

namespace {
int ReadInt(QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok ? value : fallback;
}
}  // namespace

void CAppOptions::Load(QSettings& settings) {
    settings.beginGroup(Section);
    lowLevel = ReadInt(settings, KeyBackEnd, 1);
    pidHex = ReadInt(settings, KeyPidDisplay, 0);
    fadeOutDisabled = ReadInt(settings, KeyFadeOut, 0);
    // Kept as one signed byte: 0xF4 written by an older run means -12.
    guideHourOffset = static_cast<std::int8_t>(ReadInt(settings, KeyGuideOffset, 0) & 0xFF);
    settings.endGroup();
}

void CAppOptions::Save(QSettings& settings) const {
    settings.beginGroup(Section);
    settings.setValue(KeyBackEnd, lowLevel);
    settings.setValue(KeyPidDisplay, pidHex);
    settings.setValue(KeyFadeOut, fadeOutDisabled);
    settings.setValue(KeyGuideOffset, int(guideHourOffset));
    settings.endGroup();
}
