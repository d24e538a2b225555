// Drawing speed of the layer's GDI, each figure beside a plain memory operation of the same bytes
// timed in the same run: fills against memset, blits against memcpy, text in glyphs per second.
#include "platform/testing/driver.h"
#include "platform/win32.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr size_t FrameBytes = static_cast<size_t>(Width) * Height * 4;

struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    Surface() {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, Width, Height);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
    }
    ~Surface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// Seconds per call of a plain memory operation, measured over as many calls as the benchmark ran.
template <typename Operation> double PlainSeconds(benchmark::IterationCount iterations, Operation operation) {
    auto start = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < iterations; ++i) operation();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count() / static_cast<double>(iterations);
}

// Puts the plain operation's throughput and our share of it beside the benchmark's own figure:
// ratio 1.0 means as fast as the plain memory operation on the same bytes.
void Report(benchmark::State &state, size_t bytes, double our_seconds, double plain_seconds, const char *plain_name) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters[std::string(plain_name) + "_GBps"] = static_cast<double>(bytes) / plain_seconds / 1e9;
    state.counters["ratio"] = plain_seconds / our_seconds;
}

void FillRect640x480(benchmark::State &state) {
    vorla::testing::Reset();
    Surface s;
    HBRUSH brush = CreateSolidBrush(RGB(12, 34, 56));
    RECT all{0, 0, Width, Height};
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        FillRect(s.dc, &all, brush);
        benchmark::ClobberMemory();
    }
    std::chrono::duration<double> ours = std::chrono::steady_clock::now() - start;
    std::vector<uint8_t> plain(FrameBytes);
    int value = 0;
    double seconds = PlainSeconds(state.iterations(), [&] {
        std::memset(plain.data(), ++value & 0xFF, plain.size());
        benchmark::ClobberMemory();
    });
    Report(state, FrameBytes, ours.count() / static_cast<double>(state.iterations()), seconds, "memset");
    DeleteObject(brush);
}
BENCHMARK(FillRect640x480);

void BitBlt640x480(benchmark::State &state) {
    vorla::testing::Reset();
    Surface from, to;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        BitBlt(to.dc, 0, 0, Width, Height, from.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    std::chrono::duration<double> ours = std::chrono::steady_clock::now() - start;
    std::vector<uint8_t> a(FrameBytes, 1), b(FrameBytes);
    double seconds = PlainSeconds(state.iterations(), [&] {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::ClobberMemory();
    });
    Report(state, FrameBytes, ours.count() / static_cast<double>(state.iterations()), seconds, "memcpy");
}
BENCHMARK(BitBlt640x480);

void Lines(benchmark::State &state) {
    vorla::testing::Reset();
    Surface s;
    const int length = static_cast<int>(state.range(0));
    int64_t pixels = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            int y = (i * 37) % (Height - 1);
            MoveToEx(s.dc, 5, y, nullptr);
            LineTo(s.dc, 5 + length, (y + length / 3) % Height);
        }
        pixels += 100LL * length;
    }
    state.counters["lines_per_s"] = benchmark::Counter(100.0 * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["pixels_per_s"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(Lines)->Arg(10)->Arg(600);

void FilledEllipse(benchmark::State &state) {
    vorla::testing::Reset();
    Surface s;
    HBRUSH brush = CreateSolidBrush(RGB(200, 10, 10));
    HGDIOBJ old = SelectObject(s.dc, brush);
    for (auto _ : state) {
        Ellipse(s.dc, 20, 20, 420, 320);
        benchmark::ClobberMemory();
    }
    SelectObject(s.dc, old);
    DeleteObject(brush);
    state.counters["ellipses_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(FilledEllipse);

void GothicText12(benchmark::State &state) {
    vorla::testing::Reset();
    Surface s;
    LOGFONTA description{};
    description.lfHeight = -12;
    description.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(description.lfFaceName, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", 14);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ old = SelectObject(s.dc, font);
    SetBkMode(s.dc, TRANSPARENT);
    const char text[] = "The quick brown fox jumps over the lazy dog 0123456789";
    const int length = static_cast<int>(sizeof text - 1);
    TextOutA(s.dc, 0, 0, text, length); // fills the glyph cache
    for (auto _ : state) {
        for (int row = 0; row < 10; ++row) TextOutA(s.dc, 2, row * 14, text, length);
        benchmark::ClobberMemory();
    }
    SelectObject(s.dc, old);
    DeleteObject(font);
    state.counters["glyphs_per_s"] = benchmark::Counter(10.0 * length * static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate);
}
BENCHMARK(GothicText12);

} // namespace

BENCHMARK_MAIN();
