#include "frame/view/CMainListColumns.h"

#include "channellist/CProgramInfo.h"
#include "channellist/Windows1252.h"

namespace {

QString Pid(std::uint16_t pid, bool hex) {
    return hex ? QStringLiteral("%1").arg(pid, 4, 16, QLatin1Char('0')).toUpper()
               : QString::number(pid);
}

QString Polarisation(std::int32_t value) {
    if (value == 0) return QStringLiteral("Horizontal");
    if (value == 1) return QStringLiteral("Vertical");
    return QString::number(value);
}

}  // namespace

const QString& CMainListColumns::ListName() {
    static const QString name = QStringLiteral("TheMainList");
    return name;
}

CColumnLayout CMainListColumns::BuiltInLayout() {
    struct Row {
        const char* text;
        std::int32_t align;
        std::int32_t width;
        std::uint32_t flags;
    };
    static constexpr Row rows[Count] = {
        {"", 0, 0, 0x180},
        {"Nr", 0, 50, 0},
        {"Programm", 0, 200, 0x20},
        {"Provider", 0, 200, 0x20},
        {"LnbName", 0, 200, 0x20},
        {"Frequenz", 2, 120, 0x28},
        {"Symbolrate", 2, 120, 0x28},
        {"CI-Access", 0, 120, 0x28},
        {"Programmtype", 2, 50, 0x60},
        {"PolarisationOrQam", 0, 100, 0x28},
        {"V-PID", 2, 80, 0x28},
        {"A-PID", 2, 80, 0x28},
        {"PCR-PID", 2, 80, 0x28},
        {"PMT-PID", 2, 80, 0x28},
    };
    CColumnLayout layout;
    std::vector<int> shown;
    for (int id = 0; id < Count; ++id) {
        const Row& r = rows[id];
        layout.AddColumn({id, r.align, r.width, -1, r.flags, QString::fromUtf8(r.text), {}, {}});
        shown.push_back(id);
    }
    layout.SetShown(std::move(shown));
    return layout;
}

QString CMainListColumns::Text(const std::string& bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

int CMainListColumns::KindImage(std::uint32_t type) {
    if (type & 0x0C) return 0;
    return (type & 0x01) ? 2 : 1;
}

QString CMainListColumns::CellText(const CProgramInfo& p, int docIndex, int id, bool pidHex) {
    switch (id) {
        case Nr:
            return QString::number(docIndex + 1);
        case Programm:
            return Text(p.Name);
        case Provider:
            return Text(p.Provider);
        case LnbName:
            return Text(p.LnbName);
        case Frequenz:
            return QString::number(p.Frequency);
        case Symbolrate:
            return QString::number(p.SymbolRate);
        case CiAccess:
            return QString::number(p.CiAccess);
        case Programmtype:
            return QString::number(KindImage(p.ProgramType));
        case PolarisationOrQam:
            return Polarisation(p.PolarisationOrQam);
        case VPid:
            return Pid(p.VideoPid, pidHex);
        case APid:
            return Pid(p.AudioPid, pidHex);
        case PcrPid:
            return Pid(p.PcrPid, pidHex);
        case PmtPid:
            return Pid(p.PmtPid, pidHex);
        default:
            return {};
    }
}

QString CMainListColumns::PrintText(const CProgramInfo& p, int docIndex, int id, bool pidHex) {
    if (id == Programmtype) return QString::fromStdString(p.KindText());
    return CellText(p, docIndex, id, pidHex);
}

QString CMainListColumns::CategoryHeader(const std::string& provider, int count) {
    return QStringLiteral("Providergruppe: '%1' (%2 Programm%3)")
        .arg(Text(provider))
        .arg(count)
        .arg(count == 1 ? QLatin1Char(' ') : QLatin1Char('e'));
}

bool CMainListColumns::FilterAdmits(int filter, std::uint32_t type) {
    switch (filter) {
        case 0:
            return (type & 0x01) != 0;
        case 1:
            return (type & 0x02) != 0;
        case 2:
            return (type & 0x0C) != 0;
        default:
            return true;
    }
}
