// Blits between contexts: BitBlt and StretchBlt with row copies between like surfaces, nearest
// pixel stretching, and colour conversion to and from monochrome bitmaps.
#include "gdi/paint.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace vorla::platform::gdi {

namespace {

using Big = __int128;

struct Run {
    int y, x0, x1;
};

// Smallest offset d >= 0 with d * from_size / to_size >= k: where source index k starts.
long long FirstReaching(long long k, long long from_size, long long to_size) {
    if (k <= 0) return 0;
    Big num = Big(k) * to_size;
    return static_cast<long long>((num + from_size - 1) / from_size);
}

bool SameSurface(const Canvas &a, const Canvas &b) { return a.base == b.base && a.format == b.format; }

// Row conversions between the 24-bit (B, G, R) and 32-bit (0x00RRGGBB) layouts, four pixels per
// step through whole words: the same bytes the pixel-by-pixel path writes, at memory speed.
void Row24To32(const uint8_t *from, uint32_t *to, size_t n) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4, from += 12) {
        uint32_t w0, w1, w2;
        std::memcpy(&w0, from, 4);
        std::memcpy(&w1, from + 4, 4);
        std::memcpy(&w2, from + 8, 4);
        to[i] = w0 & 0xFFFFFF;
        to[i + 1] = (w0 >> 24) | ((w1 & 0xFFFF) << 8);
        to[i + 2] = (w1 >> 16) | ((w2 & 0xFF) << 16);
        to[i + 3] = w2 >> 8;
    }
    for (; i < n; ++i, from += 3)
        to[i] = static_cast<uint32_t>(from[0]) | static_cast<uint32_t>(from[1]) << 8 | static_cast<uint32_t>(from[2]) << 16;
}

void Row32To24(const uint32_t *from, uint8_t *to, size_t n) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4, to += 12) {
        uint32_t p0 = from[i], p1 = from[i + 1], p2 = from[i + 2], p3 = from[i + 3];
        uint32_t w0 = (p0 & 0xFFFFFF) | (p1 << 24);
        uint32_t w1 = ((p1 >> 8) & 0xFFFF) | (p2 << 16);
        uint32_t w2 = ((p2 >> 16) & 0xFF) | (p3 << 8);
        std::memcpy(to, &w0, 4);
        std::memcpy(to + 4, &w1, 4);
        std::memcpy(to + 8, &w2, 4);
    }
    for (; i < n; ++i, to += 3) {
        to[0] = static_cast<uint8_t>(from[i]);
        to[1] = static_cast<uint8_t>(from[i] >> 8);
        to[2] = static_cast<uint8_t>(from[i] >> 16);
    }
}

uint32_t Combine(DWORD rop, uint32_t source, uint32_t destination) {
    switch (rop) {
    case SRCPAINT: return source | destination;
    case SRCAND: return source & destination;
    case SRCINVERT: return source ^ destination;
    default: return source;
    }
}

} // namespace

} // namespace vorla::platform::gdi

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, DWORD rop) {
    Context *dc;
    Canvas to;
    if (!OpenCanvas(dest, dc, to)) return FALSE;
    if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY || rop == DSTINVERT || rop == PATINVERT)
        return PatBlt(dest, x, y, w, h, rop);
    if (rop != SRCCOPY && rop != SRCPAINT && rop != SRCAND && rop != SRCINVERT) return FALSE;
    Context *sc;
    Canvas from;
    if (!OpenCanvas(source, sc, from)) return FALSE;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return TRUE;

    // Destination offsets whose source pixel lies on the source surface (its context's clip
    // does not matter); the mapping is monotonic, so they form one range per axis.
    long long src_left = -from.origin_x, src_right = static_cast<long long>(from.width) - from.origin_x;
    long long src_top = -from.origin_y, src_bottom = static_cast<long long>(from.height) - from.origin_y;
    long long col0 = std::min<long long>(FirstReaching(src_left - sx, sw, w), w);
    long long col1 = std::min<long long>(FirstReaching(src_right - sx, sw, w), w);
    long long row0 = std::min<long long>(FirstReaching(src_top - sy, sh, h), h);
    long long row1 = std::min<long long>(FirstReaching(src_bottom - sy, sh, h), h);
    if (col0 >= col1 || row0 >= row1) return TRUE;
    Box target = to.clip.Bounds();
    Box area{static_cast<int>(std::clamp<long long>(x + col0, target.left, target.right)),
             static_cast<int>(std::clamp<long long>(y + row0, target.top, target.bottom)),
             static_cast<int>(std::clamp<long long>(x + col1, target.left, target.right)),
             static_cast<int>(std::clamp<long long>(y + row1, target.top, target.bottom))};
    if (area.Empty()) return TRUE;

    bool same_size = w == sw && h == sh;
    // A stretch inside one surface reads from a copy of the source rows it needs; same-size
    // copies instead run in an order that reads every pixel before overwriting it.
    std::vector<uint32_t> copy;
    Canvas snapshot;
    if (!same_size && SameSurface(to, from)) {
        long long a = sx + (static_cast<long long>(area.left) - x) * static_cast<long long>(sw) / w;
        long long b = sx + (static_cast<long long>(area.right) - 1 - x) * static_cast<long long>(sw) / w + 1;
        long long c = sy + (static_cast<long long>(area.top) - y) * static_cast<long long>(sh) / h;
        long long d = sy + (static_cast<long long>(area.bottom) - 1 - y) * static_cast<long long>(sh) / h + 1;
        snapshot.format = Canvas::Format::Rgb32;
        snapshot.width = static_cast<int>(b - a);
        snapshot.height = static_cast<int>(d - c);
        copy.resize(static_cast<size_t>(snapshot.width) * static_cast<size_t>(snapshot.height));
        snapshot.base = reinterpret_cast<uint8_t *>(copy.data());
        snapshot.stride = static_cast<ptrdiff_t>(snapshot.width) * 4;
        snapshot.origin_x = static_cast<int>(-a);
        snapshot.origin_y = static_cast<int>(-c);
        for (long long yy = c; yy < d; ++yy)
            for (long long xx = a; xx < b; ++xx)
                snapshot.Put(static_cast<int>(xx), static_cast<int>(yy), from.Get(static_cast<int>(xx), static_cast<int>(yy)));
        from = snapshot;
    }

    std::vector<Run> runs;
    for (const Box &clip : to.clip.Boxes()) {
        Box b = clip.Intersect(area);
        for (int yy = b.top; yy < b.bottom; ++yy) runs.push_back(Run{yy, b.left, b.right});
    }
    if (runs.empty()) return TRUE;
    long long shift_y = (static_cast<long long>(y) + to.origin_y) - (static_cast<long long>(sy) + from.origin_y);
    long long shift_x = (static_cast<long long>(x) + to.origin_x) - (static_cast<long long>(sx) + from.origin_x);
    bool overlap = same_size && SameSurface(to, from);
    bool upward = overlap && shift_y > 0, leftward = overlap && shift_y == 0 && shift_x > 0;
    std::sort(runs.begin(), runs.end(), [&](const Run &a, const Run &b) {
        if (a.y != b.y) return upward ? a.y > b.y : a.y < b.y;
        return leftward ? a.x0 > b.x0 : a.x0 < b.x0;
    });

    bool from_mono = from.format == Canvas::Format::Mono, to_mono = to.format == Canvas::Format::Mono;
    uint32_t foreground = ToRgb(dc->state.text_colour), background = ToRgb(dc->state.background_colour);
    uint32_t source_background = ToRgb(sc->state.background_colour);
    auto convert = [&](uint32_t v) -> uint32_t {
        if (from_mono && !to_mono) return v ? background : foreground;
        if (!from_mono && to_mono) return v == source_background ? 0xFFFFFF : 0;
        return v;
    };
    bool plain = rop == SRCCOPY && from.format == to.format && !from_mono;
    size_t pixel_bytes = to.format == Canvas::Format::Rgb32 ? 4 : 3;

    std::vector<int> columns; // source surface column of each destination column of the area
    if (!same_size) {
        columns.resize(static_cast<size_t>(area.Width()));
        for (int xx = area.left; xx < area.right; ++xx)
            columns[static_cast<size_t>(xx - area.left)] =
                static_cast<int>(sx + (xx - static_cast<long long>(x)) * sw / w + from.origin_x);
    }
    for (const Run &run : runs) {
        long long source_y = same_size ? run.y - static_cast<long long>(y) + sy
                                       : sy + (run.y - static_cast<long long>(y)) * sh / h;
        long long source_x = run.x0 - static_cast<long long>(x) + sx;
        if (plain && same_size) {
            uint8_t *d = to.base + to.stride * (run.y + to.origin_y) + (run.x0 + to.origin_x) * pixel_bytes;
            const uint8_t *s = from.base + from.stride * (source_y + from.origin_y) + (source_x + from.origin_x) * pixel_bytes;
            std::memmove(d, s, static_cast<size_t>(run.x1 - run.x0) * pixel_bytes);
            continue;
        }
        // Copies between the two colour layouts: different formats are never one surface, so the
        // order does not matter.
        if (rop == SRCCOPY && same_size && from.format == Canvas::Format::Bgr24 && to.format == Canvas::Format::Rgb32) {
            uint32_t *d = reinterpret_cast<uint32_t *>(to.base + to.stride * (run.y + to.origin_y)) + to.origin_x + run.x0;
            const uint8_t *s = from.base + from.stride * (source_y + from.origin_y) + (source_x + from.origin_x) * 3;
            Row24To32(s, d, static_cast<size_t>(run.x1 - run.x0));
            continue;
        }
        if (rop == SRCCOPY && same_size && from.format == Canvas::Format::Rgb32 && to.format == Canvas::Format::Bgr24) {
            uint8_t *d = to.base + to.stride * (run.y + to.origin_y) + (run.x0 + to.origin_x) * 3;
            const uint32_t *s = reinterpret_cast<const uint32_t *>(from.base + from.stride * (source_y + from.origin_y)) +
                                from.origin_x + source_x;
            Row32To24(s, d, static_cast<size_t>(run.x1 - run.x0));
            continue;
        }
        if (plain && to.format == Canvas::Format::Rgb32) {
            uint32_t *d = reinterpret_cast<uint32_t *>(to.base + to.stride * (run.y + to.origin_y)) + to.origin_x;
            const uint32_t *s = reinterpret_cast<const uint32_t *>(from.base + from.stride * (source_y + from.origin_y));
            const int *map = columns.data() - area.left;
            for (int xx = run.x0; xx < run.x1; ++xx) d[xx] = s[map[xx]];
            continue;
        }
        // Any other pair of formats, pixel by pixel in the order that keeps overlaps right.
        auto one = [&](int xx) {
            long long px = same_size ? xx - static_cast<long long>(x) + sx : columns[static_cast<size_t>(xx - area.left)] - from.origin_x;
            uint32_t v = convert(from.Get(static_cast<int>(px), static_cast<int>(source_y)));
            to.Put(xx, run.y, rop == SRCCOPY ? v : Combine(rop, v, to.Get(xx, run.y)));
        };
        if (leftward)
            for (int xx = run.x1 - 1; xx >= run.x0; --xx) one(xx);
        else
            for (int xx = run.x0; xx < run.x1; ++xx) one(xx);
    }
    Box changed;
    for (const Box &clip : to.clip.Boxes()) changed = changed.Bound(clip.Intersect(area));
    to.Touch(changed);
    return TRUE;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
    return StretchBlt(dest, x, y, w, h, source, sx, sy, w, h, rop);
}

} // extern "C"
