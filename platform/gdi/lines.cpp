// Lines: cosmetic Bresenham segments with styles, wide round pens, polylines and Bézier curves.
#include "gdi/paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vorla::platform::gdi {

namespace {

using Big = __int128;

// On/off run lengths of the cosmetic styles.
const std::vector<DWORD> &CosmeticPattern(int style) {
    static const std::vector<DWORD> dash{18, 6}, dot{3, 3}, dash_dot{9, 6, 3, 6}, dash_dot_dot{9, 3, 3, 3, 3, 3},
        none;
    switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case 3: return dash_dot;
    case 4: return dash_dot_dot;
    default: return none;
    }
}

} // namespace

// Whether the pixel at distance d from the segment start is on. A zero-length dash of a
// geometric pen is a round dot of the pen's width: one pixel here.
bool PatternOn(const std::vector<DWORD> &pattern, unsigned long long total, long long d) {
    unsigned long long p = static_cast<unsigned long long>(d) % total, start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        unsigned long long length = pattern[i];
        if (i % 2 == 0 && p >= start && p < start + std::max<unsigned long long>(length, 1)) return true;
        start += length;
    }
    return false;
}

const std::vector<DWORD> &PenPattern(const Pen &pen) {
    return pen.geometric && pen.style == PS_USERSTYLE ? pen.user_style : CosmeticPattern(pen.style);
}

namespace {

// Minor-axis offset of pixel i of a Bresenham line; closed form of the stepping rule, so a clipped
// line starts mid-way with the pixels the whole line would have had.
long long MinorAt(long long i, long long dmajor, long long dminor, int bias) {
    if (dmajor < (1LL << 30)) // i <= dmajor and dminor <= dmajor: the product fits in 63 bits
        return (2 * dminor * i + dmajor - 1 + bias) / (2 * dmajor);
    return static_cast<long long>((Big(2) * dminor * i + dmajor - 1 + bias) / (Big(2) * dmajor));
}

// First i in [lo, hi) with MinorAt(i) >= target (hi when none).
long long FirstMinorAtLeast(long long lo, long long hi, long long target, long long dmajor, long long dminor,
                            int bias) {
    while (lo < hi) {
        long long mid = lo + (hi - lo) / 2;
        if (MinorAt(mid, dmajor, dminor, bias) >= target) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

void CosmeticSegment(Context &c, Painter &painter, const Pen &pen, long long x0, long long y0, long long x1,
                     long long y1) {
    long long dx = x1 - x0, dy = y1 - y0;
    long long adx = std::llabs(dx), ady = std::llabs(dy);
    bool x_major = adx >= ady;
    long long dmajor = x_major ? adx : ady, dminor = x_major ? ady : adx;
    if (dmajor == 0) return;
    int octant;
    if (x_major) octant = dx > 0 ? (dy >= 0 ? 1 : 8) : (dy >= 0 ? 4 : 5);
    else octant = dy > 0 ? (dx >= 0 ? 2 : 3) : (dx >= 0 ? 7 : 6);
    int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    int smajor = (x_major ? dx : dy) > 0 ? 1 : -1, sminor = (x_major ? dy : dx) >= 0 ? 1 : -1;
    long long major0 = x_major ? x0 : y0, minor0 = x_major ? y0 : x0;

    // Steps whose pixel can be visible: the major range first, then the minor range (the minor
    // offset never decreases along the line).
    const Box &b = painter.Bounds();
    if (b.Empty()) return;
    long long major_lo = x_major ? b.left : b.top, major_hi = x_major ? b.right : b.bottom;
    long long minor_lo = x_major ? b.top : b.left, minor_hi = x_major ? b.bottom : b.right;
    long long first, last; // steps [first, last)
    if (smajor > 0) {
        first = major_lo - major0;
        last = major_hi - major0;
    } else {
        first = major0 - major_hi + 1;
        last = major0 - major_lo + 1;
    }
    first = std::max(first, 0LL);
    last = std::min(last, dmajor);
    if (first >= last) return;
    long long want_lo = sminor > 0 ? minor_lo - minor0 : minor0 - minor_hi + 1;
    long long want_hi = sminor > 0 ? minor_hi - minor0 : minor0 - minor_lo + 1;
    // A line whose whole minor range is visible needs no search (the usual case).
    if (want_lo > 0 || want_hi <= dminor) {
        first = FirstMinorAtLeast(first, last, want_lo, dmajor, dminor, bias);
        last = FirstMinorAtLeast(first, last, want_hi, dmajor, dminor, bias);
        if (first >= last) return;
    }

    uint32_t rgb = ToRgb(pen.colour);
    const std::vector<DWORD> &pattern =
        pen.geometric && pen.style == PS_USERSTYLE ? pen.user_style : CosmeticPattern(pen.style);
    unsigned long long total = 0;
    for (DWORD e : pattern) total += e;
    bool styled = total > 0;
    bool opaque_gaps = styled && !pen.geometric && c.state.background_mode == OPAQUE;
    uint32_t gap = ToRgb(c.state.background_colour);

    long long m = first == 0 ? 0 : MinorAt(first, dmajor, dminor, bias);
    // The error after pixel i, as the stepping rule keeps it.
    long long err = static_cast<long long>(Big(2) * dminor * (first + 1) - dmajor - Big(2) * dmajor * m);
    long long major = major0 + smajor * first, minor = minor0 + sminor * m;
    if (dminor == 0 && !styled) { // straight runs are spans
        long long lo = std::min(major, major + smajor * (last - first - 1)), count = last - first;
        if (x_major) painter.Span(static_cast<int>(minor), static_cast<int>(lo), static_cast<int>(lo + count), rgb);
        else
            for (long long k = 0; k < count; ++k) painter.Pixel(static_cast<int>(minor), static_cast<int>(lo + k), rgb);
        return;
    }
    if (!styled && painter.Direct()) {
        // Every step in [first, last) is inside the single clip box.
        long long fx = x_major ? major : minor, fy = x_major ? minor : major;
        long long steps = last - first;
        long long end_major = major + smajor * (steps - 1);
        long long end_minor = minor0 + sminor * MinorAt(last - 1, dmajor, dminor, bias);
        long long lx = x_major ? end_major : end_minor, ly = x_major ? end_minor : end_major;
        painter.Changed(Box{static_cast<int>(std::min(fx, lx)), static_cast<int>(std::min(fy, ly)),
                            static_cast<int>(std::max(fx, lx)) + 1, static_cast<int>(std::max(fy, ly)) + 1});
        ptrdiff_t row_step = painter.RowStep();
        uint32_t *p = painter.Row(static_cast<int>(fy)) + fx;
        ptrdiff_t major_step = x_major ? smajor : smajor * row_step, minor_step = x_major ? sminor * row_step : sminor;
        for (long long i = 0; i < steps; ++i) {
            *p = rgb;
            if (err + bias > 0) {
                p += minor_step;
                err -= 2 * dmajor;
            }
            err += 2 * dminor;
            p += major_step;
        }
        return;
    }
    for (long long i = first; i < last; ++i) {
        int px = static_cast<int>(x_major ? major : minor), py = static_cast<int>(x_major ? minor : major);
        if (!styled || PatternOn(pattern, total, i)) painter.Pixel(px, py, rgb);
        else if (opaque_gaps) painter.Pixel(px, py, gap);
        if (err + bias > 0) {
            minor += sminor;
            err -= 2 * dmajor;
        }
        err += 2 * dminor;
        major += smajor;
    }
}

// Subdivides a cubic until its control points lie within a pixel of the chord.
void Flatten(const double p[4][2], int depth, std::vector<POINT> &out) {
    double cx = p[3][0] - p[0][0], cy = p[3][1] - p[0][1], length = std::hypot(cx, cy);
    auto off = [&](const double *q) {
        if (length == 0) return std::hypot(q[0] - p[0][0], q[1] - p[0][1]);
        return std::fabs((q[0] - p[0][0]) * cy - (q[1] - p[0][1]) * cx) / length;
    };
    if (depth >= 12 || (off(p[1]) <= 1.0 && off(p[2]) <= 1.0) || !std::isfinite(length)) {
        POINT end{static_cast<LONG>(std::lround(std::clamp(p[3][0], -2e9, 2e9))),
                  static_cast<LONG>(std::lround(std::clamp(p[3][1], -2e9, 2e9)))};
        if (out.empty() || out.back().x != end.x || out.back().y != end.y) out.push_back(end);
        return;
    }
    double m[6][2];
    for (int k = 0; k < 2; ++k) {
        m[0][k] = (p[0][k] + p[1][k]) / 2;
        m[1][k] = (p[1][k] + p[2][k]) / 2;
        m[2][k] = (p[2][k] + p[3][k]) / 2;
        m[3][k] = (m[0][k] + m[1][k]) / 2;
        m[4][k] = (m[1][k] + m[2][k]) / 2;
        m[5][k] = (m[3][k] + m[4][k]) / 2;
    }
    double left[4][2] = {{p[0][0], p[0][1]}, {m[0][0], m[0][1]}, {m[3][0], m[3][1]}, {m[5][0], m[5][1]}};
    double right[4][2] = {{m[5][0], m[5][1]}, {m[4][0], m[4][1]}, {m[2][0], m[2][1]}, {p[3][0], p[3][1]}};
    Flatten(left, depth + 1, out);
    Flatten(right, depth + 1, out);
}

} // namespace

namespace {

void SegmentWith(Context &c, const Pen &pen, Painter &painter, SpanSet *wide, long long x0, long long y0,
                 long long x1, long long y1) {
    if (pen.width > 1) {
        // Wide pens are solid whatever their style, with round caps covering both end points.
        if (wide) {
            WideSegment(*wide, x0, y0, x1, y1, pen.width);
        } else {
            SpanSet spans(painter.Bounds());
            WideSegment(spans, x0, y0, x1, y1, pen.width);
            spans.Paint(painter, ToRgb(pen.colour));
        }
        return;
    }
    CosmeticSegment(c, painter, pen, x0, y0, x1, y1);
}

} // namespace

void PenSegment(Context &c, Painter &painter, SpanSet *wide, long long x0, long long y0, long long x1, long long y1) {
    if (Pen *pen = DrawingPen(c)) SegmentWith(c, *pen, painter, wide, x0, y0, x1, y1);
}

void PenPath(Context &c, Canvas &canvas, const POINT *points, size_t count, bool closed) {
    Pen *pen = DrawingPen(c);
    if (!pen || count == 0) return;
    Painter painter(canvas, c.state.raster_op);
    if (painter.Nothing()) return;
    SpanSet spans(painter.Bounds());
    SpanSet *wide = pen->width > 1 ? &spans : nullptr;
    for (size_t i = 1; i < count; ++i)
        SegmentWith(c, *pen, painter, wide, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    if (closed && count > 1)
        SegmentWith(c, *pen, painter, wide, points[count - 1].x, points[count - 1].y, points[0].x, points[0].y);
    if (wide) spans.Paint(painter, ToRgb(pen->colour));
}

} // namespace vorla::platform::gdi

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    Context *c = ContextOf(dc);
    if (!c) return FALSE;
    if (previous) *previous = c->state.position;
    c->state.position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    Context *c = ContextOf(dc);
    if (!c) return FALSE;
    thread_local Canvas canvas; // kept for its clip's storage: programs draw lines by the thousand
    if (MakeCanvas(*c, canvas)) {
        POINT path[2] = {c->state.position, POINT{x, y}};
        PenPath(*c, canvas, path, 2, false);
    }
    c->state.position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC dc, const POINT *points, int count) {
    Context *c;
    Canvas canvas;
    if (!points || count < 2 || !OpenCanvas(dc, c, canvas)) return FALSE;
    PenPath(*c, canvas, points, static_cast<size_t>(count), false);
    return TRUE;
}

BOOL WINAPI PolyBezier(HDC dc, const POINT *points, DWORD count) {
    Context *c;
    Canvas canvas;
    if (!points || count < 4 || (count - 1) % 3 != 0 || !OpenCanvas(dc, c, canvas)) return FALSE;
    std::vector<POINT> path{points[0]};
    for (DWORD i = 0; i + 3 < count; i += 3) {
        double p[4][2];
        for (int k = 0; k < 4; ++k) {
            p[k][0] = points[i + static_cast<DWORD>(k)].x;
            p[k][1] = points[i + static_cast<DWORD>(k)].y;
        }
        Flatten(p, 0, path);
        path.back() = points[i + 3]; // each curve ends exactly on its end point
    }
    PenPath(*c, canvas, path.data(), path.size(), false);
    return TRUE;
}

} // extern "C"
