// The schedule list window with 5 000 events on the offscreen platform, each
// step timed until the list has been laid out and painted once
// (QWidget::grab), against the same window opened without events in the same
// run. After Google Benchmark's own table it prints, for the median of each:
//   BENCH <name> <ms> ms baseline <ms> ms ratio <r>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <deque>
#include <map>
#include <string>

#include "Allgemein/CGfxListCtrl.h"
#include "guide/CEPGInfo.h"
#include "guide/windows/CScheduleListWindow.h"
#include "guide/windows/GuideSearch.h"

namespace {

constexpr int kEvents = 5000;
const char* const kBaseline = "open_empty";

// Settings in a temporary folder, never the user's; offscreen unless set.
struct BenchEnvironment {
    QTemporaryDir home;
    BenchEnvironment() {
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

// A week of 40 programs' schedules: names, short texts and descriptions of
// realistic length, the categories mixed.
const std::deque<CEPGInfo>& Events() {
    static const std::deque<CEPGInfo> events = [] {
        std::deque<CEPGInfo> all;
        for (int i = 0; i < kEvents; ++i) {
            CEPGInfo& r = all.emplace_back();
            r.ServiceName = "Programm " + std::to_string(i % 40);
            r.EventName = "Sendung Nummer " + std::to_string(i) + " – Grüße aus Köln";
            r.ShortText = "Reihe " + std::to_string(i % 17);
            r.Description = std::string(180, 'x') + " Folge " + std::to_string(i);
            r.ContentHigh = std::uint8_t(i % 12);
            r.ParentalRating = std::uint8_t(i % 5 == 0 ? 9 : 0);
            r.Start = ArchiveDateTime::FromCivil({2024, 3, 11, 6, 0, 0, 0});
            r.Start.days += i * 45.0 / 1440.0;
            r.Duration = {ArchiveDateTime::Valid, 45.0 / 1440.0};
        }
        return all;
    }();
    return events;
}

ScheduleWindowHooks Hooks(int count) {
    ScheduleWindowHooks hooks;
    hooks.records = [count] {
        std::vector<const CEPGInfo*> rows;
        rows.reserve(std::size_t(count));
        for (int i = 0; i < count; ++i) rows.push_back(&Events()[std::size_t(i)]);
        return rows;
    };
    return hooks;
}

void Paint(QWidget& window) {
    QApplication::processEvents();
    if (window.grab().isNull()) std::fprintf(stderr, "paint failed\n");
}

// Construct, open (which loads the rows) and paint; the window is destroyed
// outside the timed part.
void Open(benchmark::State& state, int count, bool category) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto window = std::make_unique<CScheduleListWindow>(Hooks(count));
        window->resize(1000, 600);
        if (!category) window->ToggleCategoryView();
        window->show();
        Paint(*window);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        if (window->List().Model()->Items().size() != std::size_t(count))
            state.SkipWithError("rows missing");
    }
}

// One step on an open window of 5 000 events, timed until painted.
template <typename Step>
void OnOpenWindow(benchmark::State& state, Step step) {
    CScheduleListWindow window(Hooks(kEvents));
    window.resize(1000, 600);
    window.show();
    Paint(window);
    window.List().SelectItems({10, 2000, 4999});
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        step(window);
        Paint(window);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
    if (window.SelectedRecords().size() != 3) state.SkipWithError("selection lost");
}

void Register() {
    const auto add = [](const char* name, auto fn) {
        benchmark::RegisterBenchmark(name, fn)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    add(kBaseline, [](benchmark::State& s) { Open(s, 0, true); });
    add("open_5000_category", [](benchmark::State& s) { Open(s, kEvents, true); });
    add("open_5000_flat", [](benchmark::State& s) { Open(s, kEvents, false); });
    add("reload_5000_category",
        [](benchmark::State& s) { OnOpenWindow(s, [](CScheduleListWindow& w) { w.Reload(); }); });
    add("category_toggle_5000", [](benchmark::State& s) {
        OnOpenWindow(s, [](CScheduleListWindow& w) { w.ToggleCategoryView(); });
    });
    add("search_5000_no_hit", [](benchmark::State& s) {
        OnOpenWindow(s, [](CScheduleListWindow& w) {
            if (!GuideSearch::Find(w.Records(), QStringLiteral("Bundesliga")).empty())
                std::fprintf(stderr, "unexpected hit\n");
        });
    });
}

// Keeps the medians of the runs for the ratio lines.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Colours only on a terminal: the figures are also copied from logs.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}
    std::map<std::string, double> medianMs;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medianMs[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    BenchEnvironment environment;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Register();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto base = reporter.medianMs.find(kBaseline);
    if (base == reporter.medianMs.end() || base->second <= 0) return 0;
    for (const auto& [name, ms] : reporter.medianMs)
        if (name != kBaseline)
            std::printf("BENCH %s %.2f ms baseline %.2f ms ratio %.2f\n", name.c_str(), ms,
                        base->second, ms / base->second);
    return 0;
}
