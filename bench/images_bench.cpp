// VLImage speed beside the plain operation on the same bytes in the same run: loading a
// 12-megapixel JPEG and PNG against libjpeg-turbo and libpng decoding into a plain buffer, and
// ClearImage and DrawFillRect against memset.
#include "platform/testing/driver.h"
#include <vorla/VLImage.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;

// A picture with smooth gradients and some detail, so the codecs do typical work.
std::vector<unsigned char> MakePicture()
{
    std::vector<unsigned char> rgb(static_cast<size_t>(Width) * Height * 3);
    unsigned char *p = rgb.data();
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x, p += 3) {
            p[0] = static_cast<unsigned char>(x * 255 / Width);
            p[1] = static_cast<unsigned char>(y * 255 / Height);
            p[2] = static_cast<unsigned char>(((x / 16 + y / 16) % 2) * 96 + ((x * y) >> 9) % 64);
        }
    return rgb;
}

std::string Scratch(const char *name)
{
    return std::string("/tmp/vorla-bench-") + std::to_string(getpid()) + "-" + name;
}

void WriteJpeg(const std::string &path, const std::vector<unsigned char> &rgb)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = Width;
    info.image_height = Height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(&rgb[static_cast<size_t>(info.next_scanline) * Width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void WritePng(const std::string &path, const std::vector<unsigned char> &rgb)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, Width, Height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < Height; ++y)
        png_write_row(png, &rgb[static_cast<size_t>(y) * Width * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// The codecs alone: the whole picture into one plain RGB buffer.
void PlainJpeg(const std::string &path, std::vector<unsigned char> &out)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const size_t stride = static_cast<size_t>(info.output_width) * info.output_components;
    out.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out[stride * info.output_scanline];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

void PlainPng(const std::string &path, std::vector<unsigned char> &out)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    const size_t stride = png_get_rowbytes(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    out.resize(stride * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = &out[stride * y];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
}

struct Files {
    std::string jpeg = Scratch("12mp.jpg");
    std::string png = Scratch("12mp.png");
    Files()
    {
        const std::vector<unsigned char> rgb = MakePicture();
        WriteJpeg(jpeg, rgb);
        WritePng(png, rgb);
    }
    ~Files()
    {
        std::remove(jpeg.c_str());
        std::remove(png.c_str());
    }
};

Files &Pictures()
{
    static Files files;
    return files;
}

template <typename Operation> double SecondsPerCall(benchmark::IterationCount iterations, Operation operation)
{
    const auto start = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < iterations; ++i)
        operation();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count() / static_cast<double>(iterations);
}

// ratio: the plain operation's time over ours; 1.0 is as fast as the plain operation.
void Report(benchmark::State &state, size_t bytes, double ours, double plain, const char *plainName)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters[std::string(plainName) + "_ms"] = plain * 1e3;
    state.counters["ours_ms"] = ours * 1e3;
    state.counters["ratio"] = plain / ours;
}

template <typename Plain> void Load(benchmark::State &state, const std::string &path, Plain plain, const char *name)
{
    vorla::testing::Reset();
    VLImage image;
    image.SetSize(Width, Height);
    double ours = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (image.LoadImageA(path.c_str(), 0, 0, Width, Height, 0, 0) != 1)
            state.SkipWithError("the picture did not load");
        ours += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::ClobberMemory();
    }
    std::vector<unsigned char> buffer;
    const double seconds = SecondsPerCall(state.iterations(), [&] {
        plain(path, buffer);
        benchmark::ClobberMemory();
    });
    Report(state, static_cast<size_t>(Width) * Height * 4, ours / static_cast<double>(state.iterations()), seconds,
           name);
}

void LoadJpeg12Megapixels(benchmark::State &state)
{
    Load(state, Pictures().jpeg, PlainJpeg, "libjpeg");
}
BENCHMARK(LoadJpeg12Megapixels)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void LoadPng12Megapixels(benchmark::State &state)
{
    Load(state, Pictures().png, PlainPng, "libpng");
}
BENCHMARK(LoadPng12Megapixels)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Arg: the side of the square image (a small one stays in the cache, a large one does not).
void ClearImage(benchmark::State &state)
{
    vorla::testing::Reset();
    const int side = static_cast<int>(state.range(0));
    VLImage image;
    image.SetSize(side, side);
    unsigned long colour = 0xFF336699;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        image.ClearImage(colour ^= 0x00010101);
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> ours = std::chrono::steady_clock::now() - start;
    const size_t bytes = static_cast<size_t>(side) * side * 4;
    std::vector<unsigned char> plain(bytes);
    int value = 0;
    const double seconds = SecondsPerCall(state.iterations(), [&] {
        std::memset(plain.data(), ++value & 0xFF, bytes);
        benchmark::ClobberMemory();
    });
    Report(state, bytes, ours.count() / static_cast<double>(state.iterations()), seconds, "memset");
}
BENCHMARK(ClearImage)->Arg(800)->Arg(3500);

// A rectangle that leaves a margin, so every row is a separate run.
void DrawFillRect(benchmark::State &state)
{
    vorla::testing::Reset();
    const int side = static_cast<int>(state.range(0));
    VLImage image;
    image.SetSize(side, side);
    unsigned long colour = 0xFF336699;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        image.SetForegroundColor(colour ^= 0x00010101);
        image.DrawFillRect(8, 8, side - 9, side - 9);
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> ours = std::chrono::steady_clock::now() - start;
    const size_t run = static_cast<size_t>(side - 16) * 4;
    std::vector<unsigned char> plain(static_cast<size_t>(side) * side * 4);
    int value = 0;
    const double seconds = SecondsPerCall(state.iterations(), [&] {
        ++value;
        for (int y = 8; y < side - 8; ++y)
            std::memset(&plain[(static_cast<size_t>(y) * side + 8) * 4], value & 0xFF, run);
        benchmark::ClobberMemory();
    });
    Report(state, run * static_cast<size_t>(side - 16), ours.count() / static_cast<double>(state.iterations()),
           seconds, "memset");
}
BENCHMARK(DrawFillRect)->Arg(800)->Arg(3500);

} // namespace

BENCHMARK_MAIN();
