#include "editing/ListPrintTable.h"

#include <numeric>

#include "channellist/CSVLFile.h"
#include "editing/RecordText.h"

namespace MainListColumns {

namespace {
struct Def {
    const char* title;
    int width;
    Qt::Alignment alignment;
};
// Align 2 of the stored layout is centred, 0 left.
const Def Defs[Count] = {
    {"", 0, Qt::AlignLeft},
    {"Nr", 50, Qt::AlignLeft},
    {"Programm", 200, Qt::AlignLeft},
    {"Provider", 200, Qt::AlignLeft},
    {"LnbName", 200, Qt::AlignLeft},
    {"Frequenz", 120, Qt::AlignHCenter},
    {"Symbolrate", 120, Qt::AlignHCenter},
    {"CI-Access", 120, Qt::AlignLeft},
    {"Programmtype", 50, Qt::AlignHCenter},
    {"PolarisationOrQam", 100, Qt::AlignLeft},
    {"V-PID", 80, Qt::AlignHCenter},
    {"A-PID", 80, Qt::AlignHCenter},
    {"PCR-PID", 80, Qt::AlignHCenter},
    {"PMT-PID", 80, Qt::AlignHCenter},
};

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

ListPrintColumn Definition(int id) {
    if (id < 0 || id >= Count) return {};
    return {QString::fromUtf8(Defs[id].title), Defs[id].width, Defs[id].alignment};
}

QString CellText(const CProgramInfo& p, std::size_t index, int id, bool pidHex) {
    switch (id) {
        case 1: return QString::number(qulonglong(index) + 1);
        case 2: return RecordText::ToQString(p.Name);
        case 3: return RecordText::ToQString(p.Provider);
        case 4: return RecordText::ToQString(p.LnbName);
        case 5: return QString::number(p.Frequency);
        case 6: return QString::number(p.SymbolRate);
        case 7: return QString::number(p.CiAccess);
        case 8: return QString::fromStdString(p.KindText());  // the list draws an icon
        case 9: return Polarisation(p.PolarisationOrQam);
        case 10: return Pid(p.VideoPid, pidHex);
        case 11: return Pid(p.AudioPid, pidHex);
        case 12: return Pid(p.PcrPid, pidHex);
        case 13: return Pid(p.PmtPid, pidHex);
        default: return {};
    }
}

ListPrintTable Build(const CSVLFile& list, const std::vector<std::size_t>& rows,
                     const std::vector<int>& shownIds, bool pidHex) {
    ListPrintTable table;
    std::vector<int> ids;
    for (const int id : shownIds) {
        if (id < 0 || id >= Count) continue;
        ids.push_back(id);
        table.columns.push_back(Definition(id));
    }
    table.rows.reserve(rows.size());
    for (const std::size_t index : rows) {
        if (index >= list.Programs.size() || !list.Programs[index]) continue;
        QStringList cells;
        for (const int id : ids) cells << CellText(*list.Programs[index], index, id, pidHex);
        table.rows.push_back(std::move(cells));
    }
    return table;
}

std::vector<int> AllIds() {
    std::vector<int> ids(Count);
    std::iota(ids.begin(), ids.end(), 0);
    return ids;
}

}  // namespace MainListColumns
