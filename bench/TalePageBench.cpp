// A tale page turn on the design canvas (784 x 751), everything but the printer
// itself: the two copy loops with the progress bar, the window's image for the
// sheet, and the clearing of the canvas.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStyleFactory>

#include "app/WindowSet.h"
#include "platform/Desktop.h"
#include "platform/fakes/Fakes.h"

namespace {

void BM_TalePageTurn(benchmark::State& state) {
    platform::fakes::FakeServices fakes;
    platform::Desktop desktop(fakes.services());
    app::WindowSet w(desktop);
    w.form5.show();
    w.form5.Command1->click();
    // A number of no tale: the window turns pages for ever without closing.
    w.form10.Label4->setCaption("0");
    w.form17.show();
    platform::PictureBox& canvas = *w.form17.canvas.Picture1;
    for (auto _ : state) {
        state.PauseTiming();
        canvas.pixels().fill(platform::rgb(0, 0, 255));
        fakes.printer.sheets.clear();
        fakes.multimedia.commands.clear();
        state.ResumeTiming();
        w.form17.Command2->click();
        benchmark::DoNotOptimize(fakes.printer.sheets.back().constBits());
    }
}
BENCHMARK(BM_TalePageTurn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
