// The layer's drawing beside the libraries and plain loops that do the same work, each pair timed
// in alternation inside one benchmark so a busy machine slows both alike. Times are the thread's
// CPU time; "x_<peer>" is our time over the peer's (1.0 = as fast, lower is better).
#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"
#include "platform/win32.h"
#include "thread_time.h"

#include <benchmark/benchmark.h>

#ifdef VORLA_BENCH_PIXMAN
#include <pixman.h>
#endif
#ifdef VORLA_BENCH_CAIRO
#include <cairo.h>
#endif

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

struct Peer {
    std::string name;
    std::function<void()> run;
};

// Runs ours and every peer once per iteration, in turn; the benchmark's own time is ours.
void SideBySide(benchmark::State &state, const std::function<void()> &ours, const std::vector<Peer> &peers,
                double work = 1)
{
    std::vector<double> peerSeconds(peers.size(), 0);
    double ourSeconds = 0;
    for (auto _ : state) {
        double start = ThreadSeconds();
        ours();
        benchmark::ClobberMemory();
        double took = ThreadSeconds() - start;
        state.SetIterationTime(took);
        ourSeconds += took;
        for (size_t i = 0; i < peers.size(); ++i) {
            start = ThreadSeconds();
            peers[i].run();
            benchmark::ClobberMemory();
            peerSeconds[i] += ThreadSeconds() - start;
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["us"] = ourSeconds / n / work * 1e6;
    for (size_t i = 0; i < peers.size(); ++i) {
        state.counters[peers[i].name + "_us"] = peerSeconds[i] / n / work * 1e6;
        state.counters["x_" + peers[i].name] = ourSeconds / peerSeconds[i];
    }
}

// A memory context holding a bitmap of the device format or a DIB section of 24 or 32 bits.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint8_t *bits = nullptr;
    int stride = 0;

    // bits 0: a compatible bitmap; otherwise a DIB section, bottom-up unless topDown.
    explicit Surface(int bitCount = 0, bool topDown = false)
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        if (bitCount == 0) {
            bitmap = CreateCompatibleBitmap(screen, Width, Height);
        } else {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = Width;
            info.bmiHeader.biHeight = topDown ? -Height : Height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
            info.bmiHeader.biCompression = BI_RGB;
            void *memory = nullptr;
            bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
            bits = static_cast<uint8_t *>(memory);
            stride = ((Width * bitCount + 31) / 32) * 4;
            for (int i = 0; i < stride * Height; ++i)
                bits[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
        }
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
    }
    ~Surface()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// ---- fills and same-format copies ------------------------------------------------------------

void FillRect640x480(benchmark::State &state)
{
    vorla::testing::Reset();
    Surface s;
    HBRUSH brush = CreateSolidBrush(RGB(12, 34, 56));
    RECT all{0, 0, Width, Height};
    // Each side writes its own pixels, so each finds them as far out of the cache as the others.
    std::vector<uint32_t> plain(static_cast<size_t>(Width) * Height), other(plain.size());
    int value = 0;
    std::vector<Peer> peers{{"memset", [&] { std::memset(plain.data(), ++value & 0xFF, plain.size() * 4); }}};
#ifdef VORLA_BENCH_PIXMAN
    peers.push_back({"pixman", [&] {
                         pixman_fill(other.data(), Width, 32, 0, 0, Width, Height, 0x00123456u + (++value & 1));
                     }});
#endif
    SideBySide(state, [&] { FillRect(s.dc, &all, brush); }, peers);
    DeleteObject(brush);
}
BENCHMARK(FillRect640x480)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BitBlt32To32(benchmark::State &state)
{
    vorla::testing::Reset();
    Surface from, to;
    std::vector<uint32_t> a(static_cast<size_t>(Width) * Height, 1), b(a.size()), c(a.size(), 2), d(a.size());
    std::vector<Peer> peers{{"memcpy", [&] { std::memcpy(b.data(), a.data(), a.size() * 4); }}};
#ifdef VORLA_BENCH_PIXMAN
    peers.push_back({"pixman", [&] {
                         pixman_blt(c.data(), d.data(), Width, Width, 32, 32, 0, 0, 0, 0, Width, Height);
                     }});
#endif
    SideBySide(state, [&] { BitBlt(to.dc, 0, 0, Width, Height, from.dc, 0, 0, SRCCOPY); }, peers);
}
BENCHMARK(BitBlt32To32)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- conversions between formats -------------------------------------------------------------

// 24-bit rows (B, G, R) to 32-bit pixels, the loop anyone would write.
void Plain24To32(const uint8_t *from, int fromStride, uint32_t *to)
{
    for (int y = 0; y < Height; ++y) {
        const uint8_t *s = from + static_cast<ptrdiff_t>(y) * fromStride;
        uint32_t *d = to + static_cast<ptrdiff_t>(y) * Width;
        for (int x = 0; x < Width; ++x)
            d[x] = static_cast<uint32_t>(s[3 * x]) | static_cast<uint32_t>(s[3 * x + 1]) << 8 |
                   static_cast<uint32_t>(s[3 * x + 2]) << 16;
    }
}

void Plain32To24(const uint32_t *from, uint8_t *to, int toStride)
{
    for (int y = 0; y < Height; ++y) {
        const uint32_t *s = from + static_cast<ptrdiff_t>(y) * Width;
        uint8_t *d = to + static_cast<ptrdiff_t>(y) * toStride;
        for (int x = 0; x < Width; ++x) {
            d[3 * x] = static_cast<uint8_t>(s[x]);
            d[3 * x + 1] = static_cast<uint8_t>(s[x] >> 8);
            d[3 * x + 2] = static_cast<uint8_t>(s[x] >> 16);
        }
    }
}

#ifdef VORLA_BENCH_PIXMAN
struct PixmanImage {
    pixman_image_t *image;
    PixmanImage(pixman_format_code_t format, void *bits, int stride)
        : image(pixman_image_create_bits(format, Width, Height, static_cast<uint32_t *>(bits), stride))
    {
    }
    ~PixmanImage() { pixman_image_unref(image); }
};

void PixmanCopy(const PixmanImage &from, const PixmanImage &to)
{
    pixman_image_composite32(PIXMAN_OP_SRC, from.image, nullptr, to.image, 0, 0, 0, 0, 0, 0, Width, Height);
}
#endif

// range(0): 1 for a top-down DIB, 0 for bottom-up.
void BitBlt24To32(benchmark::State &state)
{
    vorla::testing::Reset();
    Surface from(24, state.range(0) != 0), to;
    std::vector<uint32_t> plain(static_cast<size_t>(Width) * Height);
    std::vector<uint8_t> source(from.bits, from.bits + static_cast<size_t>(from.stride) * Height);
    std::vector<Peer> peers{{"loop", [&] { Plain24To32(source.data(), from.stride, plain.data()); }}};
#ifdef VORLA_BENCH_PIXMAN
    PixmanImage pixFrom(PIXMAN_r8g8b8, source.data(), from.stride), pixTo(PIXMAN_x8r8g8b8, plain.data(), Width * 4);
    peers.push_back({"pixman", [&] { PixmanCopy(pixFrom, pixTo); }});
#endif
    SideBySide(state, [&] { BitBlt(to.dc, 0, 0, Width, Height, from.dc, 0, 0, SRCCOPY); }, peers);
}
BENCHMARK(BitBlt24To32)->ArgName("top_down")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BitBlt32To24(benchmark::State &state)
{
    vorla::testing::Reset();
    Surface from, to(24, state.range(0) != 0);
    RECT all{0, 0, Width, Height};
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(from.dc, &all, brush);
    DeleteObject(brush);
    std::vector<uint32_t> source(static_cast<size_t>(Width) * Height, 0x00102030u);
    std::vector<uint8_t> plain(static_cast<size_t>(to.stride) * Height);
    std::vector<Peer> peers{{"loop", [&] { Plain32To24(source.data(), plain.data(), to.stride); }}};
#ifdef VORLA_BENCH_PIXMAN
    PixmanImage pixFrom(PIXMAN_x8r8g8b8, source.data(), Width * 4), pixTo(PIXMAN_r8g8b8, plain.data(), to.stride);
    peers.push_back({"pixman", [&] { PixmanCopy(pixFrom, pixTo); }});
#endif
    SideBySide(state, [&] { BitBlt(to.dc, 0, 0, Width, Height, from.dc, 0, 0, SRCCOPY); }, peers);
}
BENCHMARK(BitBlt32To24)->ArgName("top_down")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- shapes and lines ------------------------------------------------------------------------

// A five-pointed star over most of the surface: it crosses itself, so the even-odd rule leaves
// the pentagon in its middle empty.
std::vector<POINT> Star()
{
    std::vector<POINT> points;
    for (int i = 0; i < 5; ++i) {
        double angle = -M_PI / 2 + i * 4 * M_PI / 5;
        points.push_back(POINT{320 + static_cast<LONG>(std::lround(230 * std::cos(angle))),
                               240 + static_cast<LONG>(std::lround(230 * std::sin(angle)))});
    }
    return points;
}

void StarPolygon(benchmark::State &state)
{
    vorla::testing::Reset();
    Surface s;
    HBRUSH brush = CreateSolidBrush(RGB(200, 10, 10));
    HGDIOBJ oldBrush = SelectObject(s.dc, brush);
    HGDIOBJ oldPen = SelectObject(s.dc, GetStockObject(NULL_PEN));
    const std::vector<POINT> star = Star();
    std::vector<Peer> peers;
#ifdef VORLA_BENCH_CAIRO
    std::vector<uint32_t> pixels(static_cast<size_t>(Width) * Height);
    cairo_surface_t *surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char *>(pixels.data()),
                                                                   CAIRO_FORMAT_RGB24, Width, Height, Width * 4);
    cairo_t *cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_rgb(cr, 200 / 255.0, 10 / 255.0, 10 / 255.0);
    peers.push_back({"cairo", [&] {
                         cairo_move_to(cr, star[0].x, star[0].y);
                         for (size_t i = 1; i < star.size(); ++i)
                             cairo_line_to(cr, star[i].x, star[i].y);
                         cairo_close_path(cr);
                         cairo_fill(cr);
                     }});
#endif
    SideBySide(state, [&] { Polygon(s.dc, star.data(), static_cast<int>(star.size())); }, peers);
#ifdef VORLA_BENCH_CAIRO
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
#endif
    SelectObject(s.dc, oldPen);
    SelectObject(s.dc, oldBrush);
    DeleteObject(brush);
}
BENCHMARK(StarPolygon)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same lines for both sides: fans of every slope from a few centres.
struct Line {
    int x0, y0, x1, y1;
};
std::vector<Line> Lines()
{
    std::vector<Line> lines;
    for (int i = 0; i < 1000; ++i) {
        double angle = i * 2 * M_PI / 250;
        int cx = 200 + (i % 4) * 80, cy = 240;
        int length = 40 + (i * 37) % 140; // every end stays on the surface
        lines.push_back(Line{cx, cy, cx + static_cast<int>(length * std::cos(angle)),
                             cy + static_cast<int>(length * std::sin(angle))});
    }
    return lines;
}

// Bresenham from (x0, y0) up to, not including, (x1, y1), on an unclipped 32-bit surface.
void PlainLine(uint32_t *pixels, const Line &l, uint32_t colour)
{
    int dx = std::abs(l.x1 - l.x0), dy = std::abs(l.y1 - l.y0);
    int sx = l.x1 > l.x0 ? 1 : -1, sy = l.y1 > l.y0 ? Width : -Width;
    bool xMajor = dx >= dy;
    int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int majorStep = xMajor ? sx : sy, minorStep = xMajor ? sy : sx;
    uint32_t *p = pixels + static_cast<ptrdiff_t>(l.y0) * Width + l.x0;
    int err = 2 * minor - major;
    for (int i = 0; i < major; ++i) {
        *p = colour;
        if (err > 0) {
            p += minorStep;
            err -= 2 * major;
        }
        err += 2 * minor;
        p += majorStep;
    }
}

void LineTo1000(benchmark::State &state)
{
    vorla::testing::Reset();
    Surface s;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 90, 200));
    HGDIOBJ old = SelectObject(s.dc, pen);
    const std::vector<Line> lines = Lines();
    std::vector<uint32_t> pixels(static_cast<size_t>(Width) * Height);
    std::vector<Peer> peers{{"loop", [&] {
                                 for (const Line &l : lines)
                                     PlainLine(pixels.data(), l, 0x0000005Au);
                             }}};
    SideBySide(
        state,
        [&] {
            for (const Line &l : lines) {
                MoveToEx(s.dc, l.x0, l.y0, nullptr);
                LineTo(s.dc, l.x1, l.y1);
            }
        },
        peers);
    SelectObject(s.dc, old);
    DeleteObject(pen);
}
BENCHMARK(LineTo1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- repaint per widget ----------------------------------------------------------------------

// A shown window of n push buttons, 40 x 24 pixels each in rows of 20, so the window's area grows
// with the buttons and the cost per button should not.
struct ButtonWindow {
    VLWindow window;
    std::vector<std::unique_ptr<VLPushButton>> buttons;

    ButtonWindow(int n, int x, int y)
    {
        const int rows = (n + 19) / 20;
        window.CreateNewWindow("buttons", x, y, 20 * 40, rows * 24, 0);
        window.SetBackgroundColor(0xFFD4D0C8);
        for (int i = 0; i < n; ++i) {
            buttons.push_back(std::make_unique<VLPushButton>());
            buttons.back()->SetBounds((i % 20) * 40, (i / 20) * 24, 38, 22);
            buttons.back()->SetText("OK");
            window.Add(buttons.back().get());
        }
        window.ShowWindow(1);
        vorla::testing::Pump();
    }
    ~ButtonWindow() { window.Clear(); }

    void Repaint()
    {
        window.UpdateWindow();
        vorla::testing::Pump();
    }
};

// Every window lives until the process ends, side by side on one large screen; the library starts
// once per process.
ButtonWindow &WindowOf(int n)
{
    static bool started = false;
    if (!started) {
        started = true;
        vorla::testing::Reset(2600, 1600);
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    }
    static ButtonWindow *made[4] = {};
    const int sizes[4] = {20, 100, 400, 1200};
    const int places[4][2] = {{0, 0}, {0, 60}, {820, 0}, {1640, 0}};
    for (int i = 0; i < 4; ++i)
        if (sizes[i] == n) {
            if (!made[i])
                made[i] = new ButtonWindow(n, places[i][0], places[i][1]);
            return *made[i];
        }
    std::abort();
}

// Time per button. The windows are made in turn (20 buttons first), so each row also carries
// every smaller window's objects: a cost that grows with the live objects shows here.
void RepaintPerButton(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    ButtonWindow &window = WindowOf(n);
    SideBySide(state, [&] { window.Repaint(); }, {}, n);
}
BENCHMARK(RepaintPerButton)->ArgName("buttons")->Arg(20)->Arg(100)->Arg(400)->Arg(1200)->UseManualTime()->Unit(
    benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
