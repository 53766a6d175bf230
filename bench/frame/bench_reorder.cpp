// Reordering a list of 100 000 programs and filtering it, each step one
// undoable command (or one keystroke), against a plain deep copy of the same
// 100 000 records in the same run:
//   move 10 000 selected programs to the end, sort by name, apply a reference
//   order (the list reversed), one keystroke of the quick filter in the view.
// Prints: BENCH <name> <value> ms baseline <value> ms ratio <r> (medians of 5 rounds)
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>

#include "Allgemein/CGfxListCtrl.h"
#include "BenchApplication.h"
#include "channellist/CSVLFile.h"
#include "channellist/editing/CBareListHost.h"
#include "channellist/editing/CListEditor.h"
#include "frame/view/CMainListColumns.h"
#include "frame/view/CSVL_EditorView.h"
#include "frame/view/ProgramSort.h"

namespace {

constexpr std::size_t kPrograms = 100000;
constexpr std::size_t kMoved = 10000;
constexpr int kRounds = 5;

std::unique_ptr<CProgramInfo> Program(std::size_t i) {
    auto p = std::make_unique<CProgramInfo>();
    // Names out of order, so that sorting has work to do.
    p->Name = "Programm " + std::to_string((i * 7919) % kPrograms);
    p->Provider = "Provider " + std::to_string(i % 400);
    p->LnbName = "Astra";
    p->Frequency = 10700000 + int(i % 2000) * 1000;
    p->SymbolRate = 27500000;
    p->ProgramType = 1;
    p->OriginalNetworkId = 1;
    p->TransportStreamId = std::uint16_t(i / 60000);
    p->ServiceId = std::uint16_t(i % 60000 + 1);
    return p;
}

// Every program is a row of the view, as in a list without a filter.
class BenchHost : public CBareListHost {
  public:
    std::vector<std::size_t> ListedProgramIndexes() const override {
        std::vector<std::size_t> rows(list.Programs.size());
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    }
};

double Ms(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Print(const char* name, double ms, double baseMs) {
    std::printf("BENCH %s %.2f ms baseline %.2f ms ratio %.2f\n", name, ms, baseMs, ms / baseMs);
}

bool Check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "bench_reorder: %s\n", what);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    BenchApplication bench(argc, argv);

    BenchHost host;
    host.list.Loaded = true;
    for (std::size_t i = 0; i < kPrograms; ++i) host.list.Programs.push_back(Program(i));
    CSVLFile reference;
    for (std::size_t i = kPrograms; i-- > 0;) reference.Programs.push_back(Program(i));
    CSilentMessageSink sink;
    CListEditor editor(host, sink);
    std::vector<std::size_t> every10th;
    for (std::size_t i = 0; i < kMoved; ++i) every10th.push_back(i * 10);

    CSVL_EditorView view;
    view.resize(1200, 800);
    view.show();
    view.setDocumentList(&host.list);
    view.OnUpdate();
    QApplication::processEvents();

    std::vector<double> copy, move, sort, ref, filter;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<CProgramInfo>> copies;
        copy.push_back(Ms([&] {
            copies.reserve(kPrograms);
            for (const auto& p : host.list.Programs)
                copies.push_back(std::make_unique<CProgramInfo>(*p));
        }));
        const CProgramInfo* first = host.list.Programs[0].get();
        host.selected = every10th;
        move.push_back(Ms([&] { editor.MoveSelected(ProgramListOps::Move::ToEnd); }));
        if (!Check(host.list.Programs[kPrograms - kMoved].get() == first, "move failed")) return 1;
        editor.UndoStack()->undo();
        sort.push_back(Ms([&] {
            editor.ReorderListed(
                [&](std::vector<std::size_t>& rows) {
                    ProgramSort::SortRows(host.list, rows, CMainListColumns::Programm, false);
                },
                QStringLiteral("Sortieren"));
        }));
        if (!Check(host.list.Programs[0]->Name == "Programm 0", "sort failed")) return 1;
        editor.UndoStack()->undo();
        ref.push_back(Ms([&] { editor.ApplyReferenceOrder(reference); }));
        if (!Check(host.list.Programs[0]->ServiceId == reference.Programs[0]->ServiceId,
                   "reference order failed"))
            return 1;
        editor.UndoStack()->undo();
        // One keystroke: the filter text grows by a character.
        view.setQuickFilter(QStringLiteral("programm 1234"));
        QApplication::processEvents();
        filter.push_back(Ms([&] {
            view.setQuickFilter(QStringLiteral("programm 12345"));
            QApplication::processEvents();
        }));
        if (!Check(view.listCtrl()->Model()->Items().size() == 1, "filter failed")) return 1;
        view.setQuickFilter(QString());
    }
    const double baseMs = Median(copy);
    Print("move_10k_to_end_of_100k", Median(move), baseMs);
    Print("sort_100k_by_name", Median(sort), baseMs);
    Print("reference_order_100k", Median(ref), baseMs);
    Print("quick_filter_keystroke_100k", Median(filter), baseMs);
    return 0;
}
