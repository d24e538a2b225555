// Span and pixel writing through clip and raster operation, span sets, the ellipse outline and
// the round pen stamps every shape and line is built from.
#include "gdi/paint.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vorla::platform::gdi {

bool OpenCanvas(HDC dc, Context *&context, Canvas &canvas) {
    context = ContextOf(dc);
    return context && MakeCanvas(*context, canvas);
}

bool SolidBrushColour(HBRUSH handle, uint32_t &rgb) {
    uintptr_t raw = reinterpret_cast<uintptr_t>(handle);
    if (raw >= 1 && raw <= COLOR_INFOBK + 1) { // a system colour: (COLOR_x + 1)
        rgb = ToRgb(GetSysColor(static_cast<int>(raw) - 1));
        return true;
    }
    Brush *b = As<Brush>(handle, Kind::Brush);
    if (!b || b->style != BS_SOLID) return false;
    rgb = ToRgb(b->colour);
    return true;
}

Pen *DrawingPen(Context &context) {
    Pen *pen = As<Pen>(context.state.pen, Kind::Pen);
    return pen && pen->style != PS_NULL ? pen : nullptr;
}

// The mode number minus one is a truth table over (pen bit, destination bit).
uint32_t ApplyRop2(int rop, uint32_t pen, uint32_t destination) {
    unsigned table = static_cast<unsigned>(rop - 1) & 15;
    uint32_t out = 0;
    if (table & 1) out |= ~pen & ~destination;
    if (table & 2) out |= ~pen & destination;
    if (table & 4) out |= pen & ~destination;
    if (table & 8) out |= pen & destination;
    return out & 0xFFFFFF;
}

Painter::Painter(Canvas &canvas, int rop)
    : canvas_(canvas), rop_(rop), bounds_(canvas.clip.Bounds()), single_(canvas.clip.Boxes().size() <= 1) {}

Painter::~Painter() {
    if (!changed_.Empty()) canvas_.Touch(changed_);
}

void Painter::Span(int y, int x0, int x1, uint32_t rgb) {
    if (y < bounds_.top || y >= bounds_.bottom) return;
    x0 = std::max(x0, bounds_.left);
    x1 = std::min(x1, bounds_.right);
    if (x0 >= x1) return;
    if (single_) {
        Write(y, x0, x1, rgb);
        return;
    }
    for (const Box &b : canvas_.clip.Boxes()) {
        if (y < b.top || y >= b.bottom) continue;
        int a = std::max(x0, b.left), e = std::min(x1, b.right);
        if (a < e) Write(y, a, e, rgb);
    }
}

void Painter::Write(int y, int x0, int x1, uint32_t rgb) {
    if (rop_ == R2_NOP_MODE) return;
    changed_ = changed_.Bound(Box{x0, y, x1, y + 1});
    if (canvas_.format == Canvas::Format::Rgb32) {
        uint32_t *row = reinterpret_cast<uint32_t *>(canvas_.base + canvas_.stride * (y + canvas_.origin_y)) +
                        canvas_.origin_x;
        switch (rop_) {
        case R2_COPYPEN: FillPixels(row + x0, static_cast<size_t>(x1 - x0), rgb); return;
        case R2_BLACK: FillPixels(row + x0, static_cast<size_t>(x1 - x0), 0u); return;
        case R2_WHITE: FillPixels(row + x0, static_cast<size_t>(x1 - x0), 0xFFFFFFu); return;
        default:
            for (int x = x0; x < x1; ++x) row[x] = ApplyRop2(rop_, rgb, row[x] & 0xFFFFFF);
            return;
        }
    }
    for (int x = x0; x < x1; ++x)
        canvas_.Put(x, y, rop_ == R2_COPYPEN ? rgb : ApplyRop2(rop_, rgb, canvas_.Get(x, y)));
}

void SpanSet::Add(long long y, long long x0, long long x1) {
    if (y < limit_.top || y >= limit_.bottom) return;
    x0 = std::max<long long>(x0, limit_.left);
    x1 = std::min<long long>(x1, limit_.right);
    if (x0 >= x1) return;
    runs_.push_back(Run{static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1)});
}

void SpanSet::Paint(Painter &painter, uint32_t rgb) {
    std::sort(runs_.begin(), runs_.end(),
              [](const Run &a, const Run &b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    size_t i = 0;
    while (i < runs_.size()) {
        Run run = runs_[i++];
        while (i < runs_.size() && runs_[i].y == run.y && runs_[i].x0 <= run.x1) run.x1 = std::max(run.x1, runs_[i++].x1);
        painter.Span(run.y, run.x0, run.x1, rgb);
    }
    runs_.clear();
}

void SpanSet::PaintStyled(Painter &painter, const Pen &pen, const State &state, double cx, double cy, double start) {
    const std::vector<DWORD> &pattern = PenPattern(pen);
    unsigned long long total = 0;
    for (DWORD e : pattern) total += e;
    struct Point {
        int x, y;
        double angle;
    };
    std::vector<Point> points;
    std::sort(runs_.begin(), runs_.end(),
              [](const Run &a, const Run &b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    for (size_t i = 0; i < runs_.size();) {
        Run run = runs_[i++];
        while (i < runs_.size() && runs_[i].y == run.y && runs_[i].x0 <= run.x1) run.x1 = std::max(run.x1, runs_[i++].x1);
        for (int x = run.x0; x < run.x1; ++x) {
            // Counter-clockwise as seen on the screen, where y grows downwards.
            double angle = std::atan2(cy - (run.y + 0.5), (x + 0.5) - cx) - start;
            while (angle < 0) angle += 2 * M_PI;
            points.push_back(Point{x, run.y, angle});
        }
    }
    runs_.clear();
    std::stable_sort(points.begin(), points.end(), [](const Point &a, const Point &b) { return a.angle < b.angle; });
    const uint32_t rgb = ToRgb(pen.colour), gap = ToRgb(state.background_colour);
    const bool opaqueGaps = !pen.geometric && state.background_mode == OPAQUE;
    for (size_t i = 0; i < points.size(); ++i) {
        if (total == 0 || PatternOn(pattern, total, static_cast<long long>(i)))
            painter.Pixel(points[i].x, points[i].y, rgb);
        else if (opaqueGaps)
            painter.Pixel(points[i].x, points[i].y, gap);
    }
}

namespace {

// Above this size the outline is computed row by row in floating point, so huge shapes cost
// only the rows that are visible.
constexpr long long kSteppedLimit = 1 << 16;

void Close(OutlineRow &row, long long w) {
    row.closed = 2LL * row.inner >= w - 2;
}

// Midpoint ellipse through one quadrant, with the error in 128 bits; rows of the lower half are
// recorded and the upper half mirrors them.
std::vector<OutlineRow> SteppedOutline(long long w, long long h) {
    using Big = __int128;
    std::vector<OutlineRow> rows(static_cast<size_t>(h), OutlineRow{INT_MAX, -1, false});
    auto record = [&](long long x, long long y) {
        if (y < 0 || y >= h) return;
        OutlineRow &r = rows[static_cast<size_t>(y)];
        r.outer = std::min<int>(r.outer, static_cast<int>(x));
        r.inner = std::max<int>(r.inner, static_cast<int>(x));
    };
    long long a = w - 1, b = h - 1, b1 = b & 1;
    Big dx = Big(4) * (1 - a) * b * b, dy = Big(4) * (b1 + 1) * a * a;
    Big err = dx + dy + Big(b1) * a * a, e2;
    long long x0 = 0, x1 = a, y0 = (b + 1) / 2, y1 = y0 - b1;
    Big step_a = Big(8) * a * a, step_b = Big(8) * b * b;
    do {
        record(x0, y0);
        e2 = 2 * err;
        if (e2 <= dy) {
            y0++;
            y1--;
            dy += step_a;
            err += dy;
        }
        if (e2 >= dx || 2 * err > dy) {
            x0++;
            x1--;
            dx += step_b;
            err += dx;
        }
    } while (x0 <= x1);
    while (y0 - y1 < b) { // flat ellipses stop early: finish the tips
        record(x0 - 1, y0);
        y0++;
        y1--;
    }
    for (long long y = 0; y < h; ++y) {
        OutlineRow &r = rows[static_cast<size_t>(y)];
        if (y < (b + 1) / 2) r = rows[static_cast<size_t>(b - y)];
        if (r.inner < 0) r = OutlineRow{static_cast<int>(a / 2), static_cast<int>(a / 2), false};
        Close(r, w);
    }
    return rows;
}

// The outline pixels of a row are where the curve crosses the row's band [y - 0.5, y + 0.5].
OutlineRow AnalyticRow(long long w, long long h, long long y) {
    double rx = (w - 1) / 2.0, ry = (h - 1) / 2.0;
    auto extent = [&](double d) {
        if (d > ry) return 0.0;
        return ry == 0 ? rx : rx * std::sqrt(std::max(0.0, 1.0 - (d / ry) * (d / ry)));
    };
    double d = std::fabs(static_cast<double>(y) - ry);
    double outer = std::floor(rx - extent(std::max(d - 0.5, 0.0)) + 0.5);
    double inner = std::min(std::max(outer, std::floor(rx - extent(d + 0.5))), std::floor(rx));
    OutlineRow r{static_cast<int>(std::min(outer, 2e9)), static_cast<int>(std::min(inner, 2e9)), false};
    Close(r, w);
    return r;
}

} // namespace

std::vector<OutlineRow> EllipseOutline(long long w, long long h, long long from, long long to) {
    std::vector<OutlineRow> out;
    if (w <= 0 || h <= 0) return out;
    from = std::max(from, 0LL);
    to = std::min(to, h);
    if (from >= to) return out;
    if (w <= kSteppedLimit && h <= kSteppedLimit) {
        std::vector<OutlineRow> all = SteppedOutline(w, h);
        return std::vector<OutlineRow>(all.begin() + from, all.begin() + to);
    }
    out.reserve(static_cast<size_t>(to - from));
    for (long long y = from; y < to; ++y) out.push_back(AnalyticRow(w, h, y));
    return out;
}

void StampDisc(SpanSet &spans, long long x, long long y, int w) {
    long long left = x - w / 2, top = y - w / 2;
    const Box &limit = spans.Limit();
    if (top + w <= limit.top || top >= limit.bottom || left + w <= limit.left || left >= limit.right) return;
    // Only the disc's rows inside the limit are worked out: a pen as wide as the int range costs
    // the rows it covers, not its width.
    const long long from = std::max<long long>(0, limit.top - top), to = std::min<long long>(w, limit.bottom - top);
    if (w > kSteppedLimit) {
        const std::vector<OutlineRow> rows = EllipseOutline(w, w, from, to);
        for (long long k = from; k < to; ++k) {
            const OutlineRow &row = rows[static_cast<size_t>(k - from)];
            spans.Add(top + k, left + row.outer, left + w - row.outer);
        }
        return;
    }
    thread_local int cached = 0;
    thread_local std::vector<OutlineRow> disc;
    if (cached != w) {
        disc = EllipseOutline(w, w, 0, w);
        cached = w;
    }
    for (long long k = from; k < to; ++k)
        spans.Add(top + k, left + disc[static_cast<size_t>(k)].outer, left + w - disc[static_cast<size_t>(k)].outer);
}

void WideSegment(SpanSet &spans, long long x0, long long y0, long long x1, long long y1, int w) {
    StampDisc(spans, x0, y0, w);
    StampDisc(spans, x1, y1, w);
    if (x0 == x1 && y0 == y1) return;
    // The body is the rectangle of width w around the centre line; even widths put the centre
    // half a pixel up and left, so a horizontal line covers rows y - w/2 .. y - w/2 + w - 1.
    double shift = (w - 1) / 2.0 - w / 2;
    double ax = x0 + shift, ay = y0 + shift, bx = x1 + shift, by = y1 + shift;
    double dx = bx - ax, dy = by - ay, length = std::hypot(dx, dy);
    double nx = -dy / length * w / 2.0, ny = dx / length * w / 2.0;
    double corner[4][2] = {{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}};
    double top = corner[0][1], bottom = corner[0][1];
    for (auto &c : corner) {
        top = std::min(top, c[1]);
        bottom = std::max(bottom, c[1]);
    }
    const Box &limit = spans.Limit();
    double first = std::max(std::ceil(top), static_cast<double>(limit.top));
    double last = std::min(std::ceil(bottom), static_cast<double>(limit.bottom));
    for (double y = first; y < last; y += 1) {
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        for (int i = 0; i < 4; ++i) {
            const double *p = corner[i], *q = corner[(i + 1) % 4];
            if (p[1] == q[1] || y < std::min(p[1], q[1]) || y >= std::max(p[1], q[1])) continue;
            double x = p[0] + (y - p[1]) * (q[0] - p[0]) / (q[1] - p[1]);
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        if (lo > hi) continue;
        double bound_lo = limit.left - 1.0, bound_hi = limit.right + 1.0;
        lo = std::clamp(std::ceil(lo), bound_lo, bound_hi);
        hi = std::clamp(std::ceil(hi), bound_lo, bound_hi);
        spans.Add(static_cast<long long>(y), static_cast<long long>(lo), static_cast<long long>(hi));
    }
}

} // namespace vorla::platform::gdi
