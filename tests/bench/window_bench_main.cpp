// The main function of the benchmarks that run the real window offscreen.
#include "../window/offscreen_app.h"

#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
    qb::test::prepareOffscreenApp();
    QApplication app(argc, argv);
    qb::test::configureOffscreenApp(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
