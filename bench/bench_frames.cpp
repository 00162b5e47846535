// One frame of a series through rowshift-cli apply: the correction itself
// (a fresh canvas, LOAD and CORRECT) should cost well under a millisecond,
// far below the file reading and writing that come with it.
//
// rowshift-cli keeps freed frame buffers for the next frame (src/cli/main.cpp);
// to measure what it sees, run with
//   MALLOC_MMAP_THRESHOLD_=33554432 MALLOC_TRIM_THRESHOLD_=536870912
// Without, every frame also pays for faulting fresh pages in.
#include "imageops/FrameCorrection.h"
#include "io/ImageFiles.h"

#include <QTemporaryDir>

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

std::array<std::int16_t, 512> curvedShifts() {
    std::array<std::int16_t, 512> shifts{};
    for (int i = 0; i < 512; ++i) {
        const double t = (i - 256) / 256.0;
        shifts[std::size_t(i)] = std::int16_t(60 * t * t + 0.5);
    }
    return shifts;
}

void BM_CorrectedFrame(benchmark::State& state) {
    const QImage picture = noisyPicture();
    const auto shifts = curvedShifts();
    for (auto _ : state) {
        const QImage frame = correctedFrame(picture, shifts);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_CorrectedFrame)->Unit(benchmark::kMicrosecond);

// What apply does for one BMP: read, correct, encode, write atomically.
void BM_BmpFileToBmpFile(benchmark::State& state) {
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("in.bmp"));
    const QString output = folder.filePath(QStringLiteral("out.bmp"));
    if (!saveImage(noisyPicture(), input).isEmpty()) {
        state.SkipWithError("could not write the input");
        return;
    }
    const auto shifts = curvedShifts();
    for (auto _ : state) {
        const LoadedImage loaded = loadImage(input);
        if (!saveImage(correctedFrame(loaded.image, shifts), output).isEmpty()) {
            state.SkipWithError("could not write the output");
            return;
        }
    }
}
BENCHMARK(BM_BmpFileToBmpFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
