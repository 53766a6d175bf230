// Measures the undoable list changes on a large list:
//   paste 10 000 programs (decode the clipboard block and insert) into 100 000, its undo,
//   delete of 10 000 scattered programs and its undo,
// each next to the baseline of copying the 10 000 program records, in the same run.
// Prints one BENCH line per figure (median of several rounds).
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <numeric>

#include "channellist/CSVLFile.h"
#include "channellist/ClipboardBlock.h"
#include "channellist/editing/CBareListHost.h"
#include "channellist/editing/CListEditor.h"

namespace {
constexpr std::size_t ListSize = 100000;
constexpr std::size_t BatchSize = 10000;
constexpr int Rounds = 7;

// Counts the notifications, so that the work a list control would do is in view.
class BenchHost : public CBareListHost {
  public:
    std::size_t notified = 0;
    void ProgramsInserted(const std::vector<std::size_t>& i) override { notified += i.size(); }
    void ProgramsRemoved(const std::vector<std::size_t>& i) override { notified += i.size(); }
    void ProgramsChanged(const std::vector<std::size_t>& i) override { notified += i.size(); }
};

std::unique_ptr<CProgramInfo> Program(std::size_t i) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = "Programm " + std::to_string(i);
    p->Provider = "Provider " + std::to_string(i % 40);
    p->LnbName = "Astra 19.2";
    p->Frequency = 10700000 + int(i % 2000) * 1000;
    p->SymbolRate = 27500000;
    p->ProgramType = 1;
    p->ServiceId = std::uint16_t(i);
    for (std::uint16_t s = 0; s < 3; ++s) {
        CStreaminfo st;
        st.Descriptors = {0x0A, 0x04, 'd', 'e', 'u', 0x00};
        st.StreamType = s == 0 ? 2 : 4;
        st.Pid = std::uint16_t(0x100 + s);
        p->Streams.push_back(st);
    }
    p->ProgramData1.assign(16, 0xAB);
    return p;
}

double Ms(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Print(const char* name, double value, double baseline) {
    std::printf("BENCH %s %.2f ms baseline %.2f ms ratio %.2f\n", name, value, baseline,
                value / baseline);
}
}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    BenchHost host;
    host.list.Loaded = true;
    for (std::size_t i = 0; i < ListSize; ++i) host.list.Programs.push_back(Program(i));
    std::vector<std::unique_ptr<CProgramInfo>> batch;
    std::vector<const CProgramInfo*> pointers;
    for (std::size_t i = 0; i < BatchSize; ++i) {
        batch.push_back(Program(ListSize + i));
        pointers.push_back(batch.back().get());
    }
    const auto block = EncodeClipboardBlock(pointers);

    CSilentMessageSink sink;
    CListEditor editor(host, sink);
    std::vector<double> copy, paste, undoPaste, del, undoDel;
    std::vector<std::size_t> scattered(BatchSize);
    for (std::size_t i = 0; i < BatchSize; ++i) scattered[i] = i * (ListSize / BatchSize) + 3;

    for (int round = 0; round < Rounds; ++round) {
        std::vector<std::unique_ptr<CProgramInfo>> copies;
        copy.push_back(Ms([&] {
            copies.reserve(BatchSize);
            for (const auto* p : pointers) copies.push_back(std::make_unique<CProgramInfo>(*p));
        }));
        host.selected = {ListSize / 2};
        std::size_t pasted = 0;
        paste.push_back(Ms([&] { pasted = editor.PasteBlock(block); }));
        if (pasted != BatchSize || host.list.Programs.size() != ListSize + BatchSize) {
            std::fprintf(stderr, "pasted %zu programs, expected %zu\n", pasted, BatchSize);
            return 1;
        }
        undoPaste.push_back(Ms([&] { editor.UndoStack()->undo(); }));
        host.selected = scattered;
        del.push_back(Ms([&] { editor.Delete(); }));
        undoDel.push_back(Ms([&] { editor.UndoStack()->undo(); }));
        if (host.list.Programs.size() != ListSize) {
            std::fprintf(stderr, "list size %zu after undo, expected %zu\n",
                         host.list.Programs.size(), ListSize);
            return 1;
        }
    }
    const double baseline = Median(copy);
    Print("paste_10k_into_100k", Median(paste), baseline);
    Print("undo_paste_10k", Median(undoPaste), baseline);
    Print("delete_10k_scattered_of_100k", Median(del), baseline);
    Print("undo_delete_10k_scattered", Median(undoDel), baseline);
    return 0;
}
