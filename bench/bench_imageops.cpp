// The pixel work of CORRECT and Vertical Average on a full 512 x 512 image,
// each beside the simplest loop over the same memory: a plain copy for the
// row shifting, a plain sum for the profile.
#include "BenchData.h"
#include "canvas/Canvas.h"
#include "imageops/ColumnProfile.h"
#include "imageops/RowShifting.h"
#include "io/TextExports.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

void loadedCanvas(Canvas& canvas, const QImage& picture) {
    canvas.setBackgroundPicture(picture);
    canvas.setPersistent(false);
    canvas.setScale(0, 511, 511, 0);
}

// CORRECT's pixel work: every row moved left by its shift, grey at the end.
// Repeating it on the same image costs the same each time: the rows move by
// the same amounts whatever they hold.
void BM_Correct_ShiftRows(benchmark::State& state) {
    const auto shifts = bench::parabolaShifts();
    QImage image = bench::noisyPicture();
    for (auto _ : state) {
        shiftRows(image, shifts);
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Correct_ShiftRows)->Unit(benchmark::kMicrosecond);

// The memory limit: one plain copy of the same image into another.
void BM_Correct_PlainCopy(benchmark::State& state) {
    const QImage source = bench::noisyPicture();
    QImage target(source.size(), source.format());
    const auto bytes = std::size_t(source.sizeInBytes());
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), bytes);
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Correct_PlainCopy)->Unit(benchmark::kMicrosecond);

// CORRECT as the window runs it: the clear rebuilds the image layer from the
// picture first, then the rows move.
void BM_Correct_OnCanvas(benchmark::State& state) {
    Canvas canvas;
    loadedCanvas(canvas, bench::noisyPicture());
    const auto shifts = bench::parabolaShifts();
    int lastRow = 0;
    for (auto _ : state) {
        correctRows(canvas, shifts, [&](int i) { lastRow = i; });
        benchmark::DoNotOptimize(lastRow);
    }
}
BENCHMARK(BM_Correct_OnCanvas)->Unit(benchmark::kMicrosecond);

// Vertical Average's pixel work: the inverted brightness summed down each
// column 1..510 over the rows 1..510.
void BM_Profile_ColumnSums(benchmark::State& state) {
    const QImage picture = bench::noisyPicture();
    ColumnProfile profile{};
    for (auto _ : state) {
        columnProfile(picture, profile);
        benchmark::DoNotOptimize(profile.data());
    }
}
BENCHMARK(BM_Profile_ColumnSums)->Unit(benchmark::kMicrosecond);

// The plain limit: the colour words of the same pixels added up, read in
// memory order, in whole numbers.
void BM_Profile_PlainSum(benchmark::State& state) {
    const QImage picture = bench::noisyPicture();
    for (auto _ : state) {
        std::uint64_t sum = 0;
        for (int row = 1; row <= 510; ++row) {
            const auto* words = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
            for (int column = 1; column <= 510; ++column)
                sum += words[column] & 0xffffffu;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_Profile_PlainSum)->Unit(benchmark::kMicrosecond);

// Vertical Average as the window runs it: the clear, the sums and the graph.
void BM_Profile_VerticalAverageOnCanvas(benchmark::State& state) {
    Canvas canvas;
    loadedCanvas(canvas, bench::noisyPicture());
    ColumnProfile profile{};
    for (auto _ : state) {
        verticalAverage(canvas, profile);
        benchmark::DoNotOptimize(profile.data());
    }
}
BENCHMARK(BM_Profile_VerticalAverageOnCanvas)->Unit(benchmark::kMicrosecond);

void BM_ProfileText(benchmark::State& state) {
    ColumnProfile profile{};
    for (int i = 0; i < 512; ++i)
        profile[std::size_t(i)] = 0.0078125f * float(i * i) + 1.0f / float(i + 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(profileText(profile));
}
BENCHMARK(BM_ProfileText)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
