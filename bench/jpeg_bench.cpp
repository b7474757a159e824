// Decoding the card photograph in process: the program's decoder against libjpeg used in the
// plainest way, both producing the same 4-byte BGRA pixels from the same bytes in memory.
// (djpeg, a separate process per decode, is timed by the harness from outside.)
#include "classlib/jpegdecoder.h"

#include "libjpegdecode.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

double Smallest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

const std::vector<uint8_t>& PhotoFile() {
    static const std::vector<uint8_t> file = ReadWholeFile(BENCH_PHOTO);
    return file;
}

void BM_DecodeProgram(benchmark::State& state) {
    const std::vector<uint8_t>& file = PhotoFile();
    long long pixels = 0;
    for (auto _ : state) {
        // A fresh picture each time, as the program decodes into a new one.
        TDecodedImage image;
        std::string error;
        if (!TJPEGDecoder::Decode(file.data(), file.size(), image, error))
            return state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(image.Pixels.data());
        pixels = static_cast<long long>(image.Width) * image.Height;
    }
    state.SetItemsProcessed(state.iterations() * pixels);
}
BENCHMARK(BM_DecodeProgram)
    ->Repetitions(10)
    ->ComputeStatistics("min", Smallest)
    ->Unit(benchmark::kMicrosecond);

void BM_DecodeLibjpeg(benchmark::State& state) {
    const std::vector<uint8_t>& file = PhotoFile();
    long long pixels = 0;
    for (auto _ : state) {
        TPlainJpeg image;
        if (!DecodeJpegBgra(file.data(), file.size(), image))
            return state.SkipWithError("libjpeg cannot decode the photograph");
        benchmark::DoNotOptimize(image.Pixels.data());
        pixels = static_cast<long long>(image.Width) * image.Height;
    }
    state.SetItemsProcessed(state.iterations() * pixels);
}
BENCHMARK(BM_DecodeLibjpeg)
    ->Repetitions(10)
    ->ComputeStatistics("min", Smallest)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
