#include "TestHost.h"

#include <numeric>

std::vector<std::size_t> TestHost::ListedProgramIndexes() const {
    if (!listedOverride.empty()) return listedOverride;
    std::vector<std::size_t> rows(list.Programs.size());
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

void TestHost::SelectAllRows() {
    ++selectAllCalls;
    selected = ListedProgramIndexes();
}

void TestHost::ProgramsRemoved(const std::vector<std::size_t>& i) {
    removed.push_back(i);
    selected.clear();  // a list control drops the selection of removed rows
    listedOverride.clear();
}

// Three columns of a list window; the program list's own columns are tried with the
// view in the program's wiring tests.
ListPrintTable TestHost::PrintTable() {
    std::vector<ListPrintColumn> columns = {{1, QStringLiteral("Nr"), 40, Qt::AlignLeft},
                                            {2, QStringLiteral("Programm"), 200, Qt::AlignLeft},
                                            {3, QStringLiteral("Provider"), 120, Qt::AlignLeft}};
    return BuildListPrintTable(list, ListedProgramIndexes(), std::move(columns),
                               [](const CProgramInfo& p, std::size_t index, int id) {
                                   if (id == 1) return QString::number(index + 1);
                                   const std::string& text = id == 2 ? p.Name : p.Provider;
                                   return QString::fromLatin1(text.data(), qsizetype(text.size()));
                               });
}

void TestHost::AddPrograms(const std::vector<std::string>& names) {
    for (const auto& name : names)
        list.Programs.push_back(MakeProgram(name, int(list.Programs.size())));
}

std::vector<std::string> TestHost::Names() const {
    std::vector<std::string> names;
    for (const auto& p : list.Programs) names.push_back(p ? p->Name : "<null>");
    return names;
}

std::unique_ptr<CProgramInfo> MakeProgram(const std::string& name, int seed) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->Provider = "P";
    p->LnbName = "L";
    p->FrontendType = 2;
    p->Frequency = 11000000 + seed;
    p->PolarisationOrQam = seed % 2;
    p->SymbolRate = 27500000;
    p->ProgramType = 0x10001;
    p->CiAccess = std::uint16_t(seed);
    p->ServiceId = std::uint16_t(100 + seed);
    p->VideoPid = 0x100;
    p->AudioPid = 0x101;
    p->TeletextPid = 0x102;
    CStreaminfo s;
    s.Descriptors = {0x0A, 0x04, 'd', 'e', 'u', 0x00};
    s.StreamType = 3;
    s.Pid = 0x101;
    p->Streams.push_back(s);
    p->ProgramData1 = {1, 2, 3};
    return p;
}
