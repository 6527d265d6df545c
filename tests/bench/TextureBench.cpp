// Texture decoding benchmarks: the CPU half of a load (decode, size, scale, alpha rule) for the
// demo's typical inputs, the baseline for decoding pictures on worker threads.
#include "assets/PictureDecoder.h"
#include "support/PictureWriter.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace VantorGL;

namespace {

// A smooth colour field with some black, so the alpha rule has work to do.
std::vector<std::uint8_t> Field(int width, int height, int channels) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = pixels.data() + (std::size_t(y) * width + x) * channels;
            bool black = ((x / 64) + (y / 64)) % 5 == 0;
            p[0] = black ? 0 : std::uint8_t(x * 255 / width);
            p[1] = black ? 0 : std::uint8_t(y * 255 / height);
            p[2] = black ? 0 : std::uint8_t((x + y) & 255);
            if (channels == 4) p[3] = std::uint8_t(x ^ y);
        }
    return pixels;
}

std::string TempName(const char* name) {
    return "/tmp/texbench-" + std::to_string(::getpid()) + "-" + name;
}

std::string WriteJpegFile(int width, int height) {
    std::string path = TempName("picture.jpg");
    VantorGLTest::WriteJpeg(path, width, height, Field(width, height, 3), 90);
    return path;
}

std::string WritePngFile(int width, int height) {
    std::string path = TempName("picture.png");
    VantorGLTest::WriteRgbaPng(path, width, height, Field(width, height, 4));
    return path;
}

// A 1024 x 768 JPEG on the picture route: decode, 1024 x 1024 scale, bottom-up, alpha rule.
void BM_DecodeJpegPicture(benchmark::State& state) {
    std::string path = WriteJpegFile(1024, 768);
    cDecodedPicture picture;
    std::string error;
    for (auto _ : state) {
        if (!DecodeTextureFile(path, 4096, picture, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(picture.rgba.data());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_DecodeJpegPicture)->Unit(benchmark::kMillisecond);

// A 500 x 300 RGBA PNG on the PNG route: decode and scale up to 512 x 512.
void BM_DecodePngTexture(benchmark::State& state) {
    std::string path = WritePngFile(500, 300);
    cDecodedPicture picture;
    std::string error;
    for (auto _ : state) {
        if (!DecodeTextureFile(path, 4096, picture, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(picture.rgba.data());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_DecodePngTexture)->Unit(benchmark::kMillisecond);

// The scaler alone: 1024 x 768 to 1024 x 1024, flipped.
void BM_ScaleNearest(benchmark::State& state) {
    std::vector<std::uint8_t> source = Field(1024, 768, 4), target(1024 * 1024 * 4);
    for (auto _ : state) {
        ScaleNearest(source.data(), 1024, 768, target.data(), 1024, 1024, true);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(target.size()));
}
BENCHMARK(BM_ScaleNearest);

}  // namespace
