#include "channellist/editing/ReplaceOptions.h"

#include <QSettings>

int ReplaceOptions::ToBits() const {
    return (allColumns ? 0x01 : 0) | (lnbName ? 0x02 : 0) | (programName ? 0x04 : 0) |
           (providerName ? 0x08 : 0) | (matchCase ? 0x10 : 0) | (wholeList ? 0x20 : 0);
}

ReplaceOptions ReplaceOptions::FromBits(int bits) {
    ReplaceOptions o;
    o.allColumns = bits & 0x01;
    o.lnbName = bits & 0x02;
    o.programName = bits & 0x04;
    o.providerName = bits & 0x08;
    o.matchCase = bits & 0x10;
    o.wholeList = bits & 0x20;
    return o;
}

namespace ReplaceSettings {

namespace {
constexpr char Group[] = "Einstellungen";
constexpr char SearchKey[] = "Ersetzstring";
constexpr char ReplacementKey[] = "Suchstring";
constexpr char OptionsKey[] = "ErsetzOptionen";
}  // namespace

ReplaceRequest Load(QSettings& settings) {
    settings.beginGroup(Group);
    ReplaceRequest r;
    r.search = settings.value(SearchKey, QString()).toString();
    r.replacement = settings.value(ReplacementKey, QString()).toString();
    bool ok = false;
    int bits = settings.value(OptionsKey, 1).toInt(&ok);
    r.options = ReplaceOptions::FromBits(ok ? bits : 1);
    settings.endGroup();
    return r;
}

void Save(QSettings& settings, const ReplaceRequest& request) {
    settings.beginGroup(Group);
    settings.setValue(SearchKey, request.search);
    settings.setValue(ReplacementKey, request.replacement);
    settings.setValue(OptionsKey, request.options.ToBits());
    settings.endGroup();
}

}  // namespace ReplaceSettings
