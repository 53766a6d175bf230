// Opens a list of 100 000 programs in the program list view and measures the
// time until the view has laid out and painted once, against the time it
// takes merely to walk the programs and format one cell text of each.
// Prints: BENCH <name> <value> <unit> baseline <value> <unit> ratio <r>
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>
#include <memory>

#include "Allgemein/CGfxListCtrl.h"
#include "BenchApplication.h"
#include "channellist/CSVLFile.h"
#include "frame/view/CMainListColumns.h"
#include "frame/view/CSVL_EditorView.h"

namespace {

constexpr int kPrograms = 100000;
constexpr int kProviders = 400;

void Fill(CSVLFile& list) {
    list.Programs.reserve(kPrograms);
    for (int i = 0; i < kPrograms; ++i) {
        auto p = std::make_unique<CProgramInfo>();
        p->Name = "Programm " + std::to_string(i);
        p->Provider = "Provider " + std::to_string(i % kProviders);
        p->LnbName = "Astra";
        p->Frequency = 10700000 + (i % 2000) * 1000;
        p->SymbolRate = 27500000;
        p->ProgramType = (i % 3 == 0) ? 0x2 : 0x1;
        p->VideoPid = std::uint16_t(i % 8000);
        p->AudioPid = std::uint16_t(i % 8000 + 1);
        list.Programs.push_back(std::move(p));
    }
}

double BaselineMs(const CSVLFile& list) {
    QElapsedTimer t;
    t.start();
    qsizetype total = 0;
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        total +=
            CMainListColumns::CellText(*list.Programs[i], int(i), CMainListColumns::Programm, false)
                .size();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (total == 0) std::fprintf(stderr, "no text formatted\n");
    return ms;
}

// Lays out and paints the view once.
void Paint(CSVL_EditorView& view) {
    QApplication::processEvents();
    const QPixmap shot = view.grab();
    if (shot.isNull()) std::fprintf(stderr, "paint failed\n");
}

void Print(const char* name, double ms, double baseMs) {
    std::printf("BENCH %s %.2f ms baseline %.2f ms ratio %.2f\n", name, ms, baseMs, ms / baseMs);
}

}  // namespace

int main(int argc, char** argv) {
    BenchApplication bench(argc, argv);

    CSVLFile list;
    Fill(list);
    const double baseMs = BaselineMs(list);

    for (bool category : {false, true}) {
        CSVL_EditorView view;
        view.resize(1200, 800);
        view.setCategoryMode(category);
        view.show();
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        view.setDocumentList(&list);
        view.OnUpdate();
        Paint(view);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        Print(category ? "mainlist_open_100k_category" : "mainlist_open_100k_flat", ms, baseMs);
        if (view.listCtrl()->Model()->Items().size() != std::size_t(kPrograms))
            std::fprintf(stderr, "unexpected row count\n");

        if (!category) continue;
        t.restart();
        view.toggleCategoryMode();
        Paint(view);
        Print("mainlist_category_off_100k", double(t.nsecsElapsed()) / 1e6, baseMs);
        t.restart();
        view.toggleCategoryMode();
        Paint(view);
        Print("mainlist_category_on_100k", double(t.nsecsElapsed()) / 1e6, baseMs);

        // After an edit: rows again from the list with every row selected.
        view.listCtrl()->selectAll();
        t.restart();
        view.refreshRows();
        Paint(view);
        Print("mainlist_refresh_all_selected_100k", double(t.nsecsElapsed()) / 1e6, baseMs);
        if (view.selectedProgramIndexes().size() != std::size_t(kPrograms))
            std::fprintf(stderr, "selection lost\n");
    }
    return 0;
}
