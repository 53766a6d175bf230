// Drawing one videotext page as the window draws it, page 650 of the RAI
// multiplex (its text, colours and mosaics) taken through the card's page
// assembly into the cache. Figures of the same run:
//   clear_image  an image of the view's size filled black (the baseline: every
//                pixel touched once, as each drawing starts);
//   layout       the page's display cells from its characters;
//   draw_page    the cells painted onto that image at the window's default
//                size (488 x 458 pixels, scale 1);
//   draw_page_2x the same at twice the size (a maximised window).
// Another capture may follow the benchmark's own options.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <optional>

#include "bench/CaptureBench.h"
#include "bench/videotext/CaptureTeletext.h"
#include "videotext/VtCells.h"
#include "videotext/VtPageCache.h"
#include "videotext/windows/VtPagePainter.h"

namespace {

constexpr int kPage = 650;

// The first valid record of the page as the cache holds it after the capture.
const std::optional<vt::VtSubpage>& Record() {
    static const std::optional<vt::VtSubpage> record = [] {
        auto cache = std::make_unique<vt::VtPageCache>();
        videotextbench::Assemble(capturebench::Capture(),
                                 [&](std::span<const std::uint8_t> d) { cache->Store(d); });
        const vt::VtSubpage* found = cache->Record(kPage, std::max(0, cache->FirstValid(kPage)));
        return found && found->valid ? std::optional<vt::VtSubpage>(*found) : std::nullopt;
    }();
    return record;
}

bool Ready(benchmark::State& state) {
    if (!capturebench::Ready(state)) return false;
    if (Record()) return true;
    state.SkipWithError("page 650 not in the capture");
    return false;
}

vt::DisplayPage Layout() { return vt::LayoutForDisplay(Record()->chars, Record()->national); }

QSize ViewSize(int scale) { return VtPainter::LogicalArea().size().toSize() * scale; }

void ClearImageBench(benchmark::State& state) {
    if (!Ready(state)) return;
    QImage image(ViewSize(1), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::black);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void LayoutBench(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) {
        vt::DisplayPage page = Layout();
        benchmark::DoNotOptimize(page.rows.data());
    }
}

void DrawBench(benchmark::State& state) {
    if (!Ready(state)) return;
    const vt::DisplayPage page = Layout();
    const QSize size = ViewSize(int(state.range(0)));
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setTransform(VtPainter::ToWidget(QSizeF(size)));
        VtPainter::Paint(painter, page);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pages_per_s"] =
        benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(ClearImageBench)->Name("clear_image")->Unit(benchmark::kMicrosecond);
BENCHMARK(LayoutBench)->Name("layout")->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawBench)->Name("draw_page")->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawBench)->Name("draw_page_2x")->Arg(2)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    return capturebench::Main(
        argc, argv, std::string(SVL_TESTDATA_DIR) + "/tsduck-test_108_rai-dvbt-full-mux.ts");
}
