#include "frame/view/CViewSettings.h"

#include <QSettings>

namespace {

constexpr const char* kSection = "Einstellungen";

int ReadInt(const QSettings& s, const char* key) {
    bool ok = false;
    const int v = s.value(QLatin1String(key), 0).toInt(&ok);
    return ok ? v : 0;
}

}  // namespace

CViewSettings CViewSettings::Read(QSettings& s) {
    s.beginGroup(QLatin1String(kSection));
    CViewSettings v;
    v.programFilter = ReadInt(s, "Programmfilter");
    v.lastTvProgram = ReadInt(s, "LastTVProgramm");
    v.lastRadioProgram = ReadInt(s, "LastRadioProgramm");
    v.lastDataProgram = ReadInt(s, "LastDataProgramm");
    v.guidePage = ReadInt(s, "CurrentNextEvent");
    s.endGroup();
    return v;
}

void CViewSettings::Write(QSettings& s) const {
    s.beginGroup(QLatin1String(kSection));
    s.setValue(QStringLiteral("Programmfilter"), programFilter);
    s.setValue(QStringLiteral("LastTVProgramm"), lastTvProgram);
    s.setValue(QStringLiteral("LastRadioProgramm"), lastRadioProgram);
    s.setValue(QStringLiteral("LastDataProgramm"), lastDataProgram);
    s.setValue(QStringLiteral("CurrentNextEvent"), guidePage);
    s.endGroup();
}

CViewSettings CViewSettings::Read() {
    QSettings s;
    return Read(s);
}

void CViewSettings::Write() const {
    QSettings s;
    Write(s);
}

int& CViewSettings::LastProgramFor(int filter) {
    if (filter == 1) return lastRadioProgram;
    if (filter == 2) return lastDataProgram;
    return lastTvProgram;
}
