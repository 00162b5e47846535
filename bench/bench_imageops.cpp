// The pixel work of CORRECT and Vertical Average on a full 512 x 512 image
// should stay well under a millisecond; the exports should be negligible.
#include "canvas/Canvas.h"
#include "imageops/ColumnProfile.h"
#include "imageops/RowShifting.h"
#include "io/TextExports.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

namespace {

QImage noisyPicture() {
    QImage image(512, 512, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int row = 0; row < 512; ++row) {
        auto* words = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < 512; ++column) {
            state = state * 1664525u + 1013904223u;
            words[column] = 0xff000000u | (state >> 8);
        }
    }
    return image;
}

// A smooth table like a fitted curve gives: 0 in the middle, up to 60 at the ends.
std::array<std::int16_t, 512> curvedShifts() {
    std::array<std::int16_t, 512> shifts{};
    for (int i = 0; i < 512; ++i) {
        const double t = (i - 256) / 256.0;
        shifts[std::size_t(i)] = std::int16_t(60 * t * t + 0.5);
    }
    return shifts;
}

void loadedCanvas(Canvas& canvas, const QImage& picture) {
    canvas.setBackgroundPicture(picture);
    canvas.setPersistent(false);
    canvas.setScale(0, 511, 511, 0);
}

void BM_ShiftRowsOfImage(benchmark::State& state) {
    const QImage picture = noisyPicture();
    const auto shifts = curvedShifts();
    QImage image = picture.copy();
    for (auto _ : state) {
        shiftRows(image, shifts);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ShiftRowsOfImage)->Unit(benchmark::kMicrosecond);

// Includes the clear, which refills the image layer from the picture.
void BM_CorrectRowsOnCanvas(benchmark::State& state) {
    Canvas canvas;
    loadedCanvas(canvas, noisyPicture());
    const auto shifts = curvedShifts();
    int lastRow = 0;
    for (auto _ : state) {
        correctRows(canvas, shifts, [&](int i) { lastRow = i; });
        benchmark::DoNotOptimize(lastRow);
    }
}
BENCHMARK(BM_CorrectRowsOnCanvas)->Unit(benchmark::kMicrosecond);

void BM_ColumnProfileOfImage(benchmark::State& state) {
    const QImage picture = noisyPicture();
    ColumnProfile profile{};
    for (auto _ : state) {
        columnProfile(picture, profile);
        benchmark::DoNotOptimize(profile.data());
    }
}
BENCHMARK(BM_ColumnProfileOfImage)->Unit(benchmark::kMicrosecond);

// Includes the clear and drawing the graph.
void BM_VerticalAverageOnCanvas(benchmark::State& state) {
    const QImage picture = noisyPicture();
    Canvas canvas;
    loadedCanvas(canvas, picture);
    ColumnProfile profile{};
    for (auto _ : state) {
        verticalAverage(canvas, profile);
        benchmark::DoNotOptimize(profile.data());
    }
}
BENCHMARK(BM_VerticalAverageOnCanvas)->Unit(benchmark::kMicrosecond);

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
