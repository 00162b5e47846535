// CALCULATE(LSM) from the ten control points to the listed table: reference
// line, fit data, least squares, the curve and the 512 list entries.
#include "BenchData.h"
#include "fit/CurveFit.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Calculate(benchmark::State& state) {
    const FitRequest request = bench::parabolaRequest(std::int16_t(state.range(0)));
    if (const FitResult fit = calculateFit(request); fit.warning || fit.singular) {
        state.SkipWithError("the example points give no table at this order");
        return;
    }
    for (auto _ : state) {
        FitResult fit = calculateFit(request);
        benchmark::DoNotOptimize(fit);
    }
}
BENCHMARK(BM_Calculate)->ArgName("order")->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
