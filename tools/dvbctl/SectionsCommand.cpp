#include <chrono>
#include <cstdio>

#include "Commands.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CTableFilter.h"

namespace {

struct Printer {
    CTableFilter* filter = nullptr;
    unsigned wanted = 1;
    unsigned printed = 0;
};

void PrintSection(CTableFilter& f, int index) {
    const int total = 3 + f.GetPayLoadLength(index);
    std::printf("section %d (%d bytes)\n", index, total);
    for (int i = 0; i < total; ++i) {
        const std::uint8_t* b = f.GetBytePointer(index, static_cast<std::uint32_t>(i));
        if (!b) break;
        std::printf("%02X%s", *b, (i % 16 == 15 || i + 1 == total) ? "\n" : " ");
    }
}

void OnTable(char* data, std::uint32_t) {
    auto* p = reinterpret_cast<Printer*>(data);
    if (p->printed >= p->wanted) return;
    ++p->printed;
    std::printf("table %u: pid 0x%04X table 0x%02X version %d last section %d\n", p->printed,
                p->filter->Pid(), p->filter->TableId(), p->filter->Version(),
                p->filter->GetLastSection());
    for (int i = 0; i <= p->filter->GetLastSection(); ++i) PrintSection(*p->filter, i);
    std::fflush(stdout);
    if (p->printed >= p->wanted) kestrel::DefaultPollDispatcher().Quit();
}

}  // namespace

int SectionsCommand(const Options& o) {
    const auto pid = o.Number("pid"), table = o.Number("table");
    if (!pid || !table || *pid > 0x1FFF || *table > 0xFF) {
        std::fprintf(stderr,
                     "dvbctl sections: --pid P (0..8191) und --table T (0..255) sind nötig\n");
        return 2;
    }
    if (!NeedCard()) return 1;
    const auto ext = o.Number("ext");
    Printer printer;
    printer.wanted = o.Number("count").value_or(1);
    CTableFilter filter(OnTable, reinterpret_cast<char*>(&printer), 0);
    printer.filter = &filter;
    int error = 0;
    const int rc = filter.OpenFilter(
        static_cast<std::uint16_t>(*pid), static_cast<std::uint8_t>(*table),
        static_cast<std::uint16_t>(ext.value_or(0)), ext ? 1 : 0, &error,
        o.Number("type5").value_or(0), static_cast<int>(o.Number("mode").value_or(0)));
    if (rc != 0) {
        std::fprintf(stderr, "dvbctl sections: %s (Fehler %d)\n",
                     rc == -1 ? "Filter abgelehnt" : "Socket fehlgeschlagen", error);
        return 1;
    }
    const auto timeout = std::chrono::milliseconds(o.Number("timeout").value_or(10000));
    kestrel::DefaultPollDispatcher().RunFor(timeout);
    filter.CloseFilter();
    if (printer.printed < printer.wanted) {
        std::fprintf(stderr, "dvbctl sections: %u von %u Tabellen vor dem Zeitablauf\n",
                     printer.printed, printer.wanted);
        return 3;
    }
    return 0;
}
