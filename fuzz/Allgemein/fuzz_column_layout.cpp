// Loads a stored list layout from arbitrary settings-file text over a
// built-in layout. Checks that loading never fails badly, that the result
// only names offered columns, and that saving and loading the result again
// gives the same layout.
#include <unistd.h>

#include <QFile>
#include <QSettings>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "Allgemein/CColumnLayout.h"

namespace {

CColumnLayout BuiltIn() {
    CColumnLayout l;
    l.AddColumn({0, 0, 0, -1, 0x180, "", "", ""});
    l.AddColumn({1, 0, 50, -1, 0, "Nr", "", ""});
    l.AddColumn({2, 0, 200, -1, 0x20, "Programm", "", ""});
    l.AddColumn({8, 2, 50, -1, 0x60, "Programmtype", "", "Art"});
    l.SetShown({0, 1, 2, 8});
    return l;
}

QString TempPath(const char* what) {
    return QStringLiteral("/tmp/fuzz_column_layout_%1_%2.ini").arg(getpid()).arg(what);
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString in = TempPath("in");
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    CColumnLayout loaded = BuiltIn();
    {
        QSettings s(in, QSettings::IniFormat);
        loaded.Load(s, QStringLiteral("TheMainList"));
    }
    Check(!loaded.Shown().empty());
    Check(loaded.Definitions().size() == BuiltIn().Definitions().size());
    for (const CColumnDef& d : loaded.ShownDefinitions()) Check(loaded.Find(d.id) != nullptr);

    const QString out = TempPath("out");
    QFile::remove(out);
    {
        QSettings s(out, QSettings::IniFormat);
        loaded.Save(s, QStringLiteral("TheMainList"));
    }
    CColumnLayout again = BuiltIn();
    {
        QSettings s(out, QSettings::IniFormat);
        again.Load(s, QStringLiteral("TheMainList"));
    }
    Check(again.Shown() == loaded.Shown());
    Check(again.Definitions() == loaded.Definitions());
    return 0;
}
