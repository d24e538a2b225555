// Filled shapes and arcs: Rectangle, Ellipse, RoundRect, Arc and Polygon. Interiors are filled
// with the brush first and the pen outline drawn over them; each pixel is written once.
#include "gdi/paint.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace vorla::platform::gdi {

namespace {

using Big = __int128;

// Rows of a box whose corners are quarters of an ew x eh ellipse joined by straight edges (an
// ellipse when the corner is the whole box), in box coordinates; the right half mirrors the left.
class RoundedRows {
public:
    RoundedRows(long long w, long long h, long long ew, long long eh, long long from, long long to)
        : w_(w), h_(h), eh_(eh), half_((eh + 1) / 2) {
        from = std::max(from, 0LL);
        to = std::min(to, h);
        // Corner rows needed: the top ones map directly, the bottom ones to the corner's lower half.
        top_from_ = from;
        top_ = EllipseOutline(ew, eh, from, std::min(to, half_));
        bottom_from_ = std::max(from, h - half_) - (h - eh);
        bottom_ = EllipseOutline(ew, eh, bottom_from_, to - (h - eh));
    }

    OutlineRow Row(long long y) const {
        OutlineRow r;
        if (y < half_) r = top_[static_cast<size_t>(y - top_from_)];
        else if (y >= h_ - half_) r = bottom_[static_cast<size_t>(y - (h_ - eh_) - bottom_from_)];
        else r.closed = w_ <= 2; // straight sides
        if (!r.closed && 2LL * r.inner >= w_ - 2) r.closed = true;
        return r;
    }

private:
    long long w_, h_, eh_, half_;
    long long top_from_, bottom_from_;
    std::vector<OutlineRow> top_, bottom_;
};

struct Frame {
    long long left, top, right, bottom;
    long long Width() const { return right - left; }
    long long Height() const { return bottom - top; }
};

Frame Ordered(int l, int t, int r, int b) {
    return Frame{std::min<long long>(l, r), std::min<long long>(t, b), std::max<long long>(l, r),
                 std::max<long long>(t, b)};
}

// Visible rows of a frame, widened by margin for pen stamps that reach beyond the row.
void VisibleRows(const Painter &painter, const Frame &f, long long margin, long long &from, long long &to) {
    const Box &b = painter.Bounds();
    from = std::max<long long>(0, b.top - f.top - margin);
    to = std::min<long long>(f.Height(), b.bottom - f.top + margin);
}

// Fills the interior between the outline and paints the outline of a rounded frame.
void DrawRounded(Context &c, Canvas &canvas, const Frame &frame, long long ew, long long eh) {
    Pen *pen = DrawingPen(c);
    uint32_t fill = 0;
    bool brush = SolidBrushColour(static_cast<HBRUSH>(c.state.brush), fill);
    Painter painter(canvas, c.state.raster_op);
    if (painter.Nothing()) return;
    if (!pen) {
        // Without a pen the figure is one pixel smaller and all brush.
        if (!brush) return;
        Frame f{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
        if (f.Width() <= 0 || f.Height() <= 0) return;
        ew = std::min(ew, f.Width());
        eh = std::min(eh, f.Height());
        long long from, to;
        VisibleRows(painter, f, 0, from, to);
        if (from >= to) return;
        RoundedRows rows(f.Width(), f.Height(), ew, eh, from, to);
        for (long long y = from; y < to; ++y) {
            OutlineRow r = rows.Row(y);
            long long x0 = std::max<long long>(f.left + r.outer, INT_MIN);
            long long x1 = std::min<long long>(f.right - r.outer, INT_MAX);
            painter.Span(static_cast<int>(f.top + y), static_cast<int>(x0), static_cast<int>(x1), fill);
        }
        return;
    }
    long long w = frame.Width(), margin = pen->width;
    long long from, to;
    VisibleRows(painter, frame, margin, from, to);
    if (from >= to) return;
    RoundedRows rows(w, frame.Height(), ew, eh, from, to);
    auto clamp = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    if (brush)
        for (long long y = from; y < to; ++y) {
            OutlineRow r = rows.Row(y);
            if (!r.closed)
                painter.Span(clamp(frame.top + y), clamp(frame.left + r.inner + 1), clamp(frame.right - 1 - r.inner), fill);
        }
    uint32_t rgb = ToRgb(pen->colour);
    SpanSet spans(painter.Bounds());
    for (long long y = from; y < to; ++y) {
        OutlineRow r = rows.Row(y);
        long long row = frame.top + y;
        long long runs[2][2] = {{frame.left + r.outer, frame.left + r.inner + 1},
                                {frame.right - 1 - r.inner, frame.right - r.outer}};
        if (r.closed) runs[0][1] = runs[1][0] = frame.right - r.outer;
        for (int k = 0; k < (r.closed ? 1 : 2); ++k) {
            if (pen->width > 1) WideSegment(spans, runs[k][0], row, runs[k][1] - 1, row, pen->width);
            else spans.Add(row, runs[k][0], runs[k][1]);
        }
    }
    // A styled thin pen runs its pattern along the outline; only the visible rows were gathered,
    // so a cut-off figure may start its pattern elsewhere.
    if (pen->width == 1 && !PenPattern(*pen).empty())
        spans.PaintStyled(painter, *pen, c.state, (frame.left + frame.right) / 2.0, (frame.top + frame.bottom) / 2.0);
    else
        spans.Paint(painter, rgb);
}

// Direction from the centre, y up, for exact angle comparisons.
struct Ray {
    long long x, y;
};

int Half(const Ray &r) { return (r.y < 0 || (r.y == 0 && r.x < 0)) ? 1 : 0; }

// Counter-clockwise angle order starting at three o'clock.
bool Before(const Ray &a, const Ray &b) {
    int ha = Half(a), hb = Half(b);
    if (ha != hb) return ha < hb;
    return Big(a.x) * b.y - Big(a.y) * b.x > 0;
}

Ray MakeRay(long long x, long long y, long long cx, long long cy) {
    Ray r{x - cx, cy - y};
    if (r.x == 0 && r.y == 0) r.x = 1;
    return r;
}

} // namespace

} // namespace vorla::platform::gdi

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    Context *c;
    Canvas canvas;
    if (!OpenCanvas(dc, c, canvas)) return FALSE;
    Frame f = Ordered(left, top, right, bottom);
    if (f.Width() == 0 || f.Height() == 0) return TRUE;
    Pen *pen = DrawingPen(*c);
    uint32_t fill;
    auto clamp = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    if (SolidBrushColour(static_cast<HBRUSH>(c->state.brush), fill)) {
        Painter painter(canvas, c->state.raster_op);
        long long inset = pen ? 1 : 0;
        long long y0 = std::max<long long>(f.top + inset, painter.Bounds().top);
        long long y1 = std::min<long long>(f.bottom - 1, painter.Bounds().bottom);
        for (long long y = y0; y < y1; ++y)
            painter.Span(static_cast<int>(y), clamp(f.left + inset), clamp(f.right - 1), fill);
    }
    if (!pen) return TRUE;
    if (pen->width == 1 && pen->style == PS_SOLID) {
        // The common case as spans: rows t and b-1, columns l and r-1.
        Painter painter(canvas, c->state.raster_op);
        uint32_t rgb = ToRgb(pen->colour);
        int l = clamp(f.left), r = clamp(f.right);
        painter.Span(clamp(f.top), l, r, rgb);
        if (f.Height() > 1) painter.Span(clamp(f.bottom - 1), l, r, rgb);
        long long y0 = std::max<long long>(f.top + 1, painter.Bounds().top);
        long long y1 = std::min<long long>(f.bottom - 1, painter.Bounds().bottom);
        for (long long y = y0; y < y1; ++y) {
            painter.Pixel(l, static_cast<int>(y), rgb);
            if (f.Width() > 1) painter.Pixel(r - 1, static_cast<int>(y), rgb);
        }
        return TRUE;
    }
    POINT path[4] = {{clamp(f.left), clamp(f.top)},
                     {clamp(f.right - 1), clamp(f.top)},
                     {clamp(f.right - 1), clamp(f.bottom - 1)},
                     {clamp(f.left), clamp(f.bottom - 1)}};
    if (f.Width() == 1 && f.Height() == 1) {
        // A one-pixel rectangle is a dot: the path alone has no length.
        Painter painter(canvas, c->state.raster_op);
        SpanSet spans(painter.Bounds());
        if (pen->width > 1) StampDisc(spans, f.left, f.top, pen->width);
        else spans.Add(f.top, f.left, f.left + 1);
        spans.Paint(painter, ToRgb(pen->colour));
        return TRUE;
    }
    PenPath(*c, canvas, path, 4, true);
    return TRUE;
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    Context *c;
    Canvas canvas;
    if (!OpenCanvas(dc, c, canvas)) return FALSE;
    Frame f = Ordered(left, top, right, bottom);
    if (f.Width() == 0 || f.Height() == 0) return TRUE;
    DrawRounded(*c, canvas, f, f.Width(), f.Height());
    return TRUE;
}

BOOL WINAPI RoundRect(HDC dc, int left, int top, int right, int bottom, int w, int h) {
    Context *c = ContextOf(dc);
    if (!c) return FALSE;
    Frame f = Ordered(left, top, right, bottom);
    long long ew = std::min<long long>(std::llabs(w), f.Width());
    long long eh = std::min<long long>(std::llabs(h), f.Height());
    if (ew <= 2 || eh <= 2) return Rectangle(dc, left, top, right, bottom);
    Canvas canvas;
    if (!MakeCanvas(*c, canvas)) return FALSE;
    DrawRounded(*c, canvas, f, ew, eh);
    return TRUE;
}

BOOL WINAPI Arc(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
    Context *c;
    Canvas canvas;
    if (!OpenCanvas(dc, c, canvas)) return FALSE;
    Frame f = Ordered(left, top, right, bottom);
    Pen *pen = DrawingPen(*c);
    if (f.Width() == 0 || f.Height() == 0 || !pen) return TRUE;
    Painter painter(canvas, c->state.raster_op);
    if (painter.Nothing()) return TRUE;
    long long cx = f.left + f.Width() / 2, cy = f.top + f.Height() / 2;
    Ray start = MakeRay(xs, ys, cx, cy), end = MakeRay(xe, ye, cx, cy);
    bool whole = !Before(start, end) && !Before(end, start);
    bool wraps = Before(end, start);
    auto inside = [&](long long x, long long y) {
        if (whole) return true;
        Ray p = MakeRay(x, y, cx, cy);
        bool after_start = !Before(p, start), before_end = Before(p, end);
        return wraps ? (after_start || before_end) : (after_start && before_end);
    };
    long long from, to;
    VisibleRows(painter, f, pen->width, from, to);
    if (from >= to) return TRUE;
    RoundedRows rows(f.Width(), f.Height(), f.Width(), f.Height(), from, to);
    const Box &limit = painter.Bounds();
    SpanSet spans(limit);
    for (long long y = from; y < to; ++y) {
        OutlineRow r = rows.Row(y);
        long long row = f.top + y;
        long long runs[2][2] = {{f.left + r.outer, f.left + r.inner + 1}, {f.right - 1 - r.inner, f.right - r.outer}};
        if (r.closed) runs[0][1] = runs[1][0] = f.right - r.outer;
        for (int k = 0; k < (r.closed ? 1 : 2); ++k) {
            long long x0 = std::max<long long>(runs[k][0], limit.left - pen->width);
            long long x1 = std::min<long long>(runs[k][1], limit.right + pen->width);
            for (long long x = x0; x < x1; ++x) {
                if (!inside(x, row)) continue;
                if (pen->width > 1) StampDisc(spans, x, row, pen->width);
                else spans.Add(row, x, x + 1);
            }
        }
    }
    if (pen->width == 1 && !PenPattern(*pen).empty())
        spans.PaintStyled(painter, *pen, c->state, f.left + f.Width() / 2.0, f.top + f.Height() / 2.0,
                          std::atan2(static_cast<double>(cy) - ys, static_cast<double>(xs) - cx));
    else
        spans.Paint(painter, ToRgb(pen->colour));
    return TRUE;
}

BOOL WINAPI Polygon(HDC dc, const POINT *points, int count) {
    Context *c;
    Canvas canvas;
    if (!points || count < 2 || !OpenCanvas(dc, c, canvas)) return FALSE;
    uint32_t fill;
    if (SolidBrushColour(static_cast<HBRUSH>(c->state.brush), fill)) {
        Painter painter(canvas, c->state.raster_op);
        const Box &b = painter.Bounds();
        long long ymin = points[0].y, ymax = points[0].y;
        for (int i = 1; i < count; ++i) {
            ymin = std::min<long long>(ymin, points[i].y);
            ymax = std::max<long long>(ymax, points[i].y);
        }
        ymin = std::max<long long>(ymin, b.top);
        ymax = std::min<long long>(ymax, b.bottom);
        bool winding = c->state.fill_mode == WINDING;
        // Each edge runs downwards from its top end (in) to its bottom end (out). Its first pixel
        // column at or right of it on row y is ceil(num / den) with num = top.x * den +
        // (y - top.y) * (bottom.x - top.x): that is kept with its remainder and stepped a row at
        // a time, exactly, so a row costs no division and only the edges that cross it.
        struct Edge {
            long long top, bottom;  // rows [top, bottom)
            long long x, error;     // ceil(num / den) on the current row, and x * den - num
            long long den, step, rest; // per row: x grows by step (+ 1 when error < rest)
            int direction;
        };
        std::vector<Edge> edges;
        for (int i = 0; i < count; ++i) {
            const POINT &p = points[i], &q = points[(i + 1) % count];
            if (p.y == q.y) continue;
            const POINT &a = p.y < q.y ? p : q, &e = p.y < q.y ? q : p;
            Edge edge;
            edge.top = std::max<long long>(a.y, ymin);
            edge.bottom = std::min<long long>(e.y, ymax);
            if (edge.top >= edge.bottom) continue;
            edge.den = static_cast<long long>(e.y) - a.y;
            long long dx = static_cast<long long>(e.x) - a.x;
            edge.step = dx >= 0 ? dx / edge.den : -((-dx + edge.den - 1) / edge.den); // floor
            edge.rest = dx - edge.step * edge.den;
            Big num = Big(a.x) * edge.den + Big(edge.top - a.y) * dx;
            Big x = num >= 0 ? (num + edge.den - 1) / edge.den : -((-num) / edge.den);
            edge.x = static_cast<long long>(x);
            edge.error = static_cast<long long>(x * edge.den - num);
            edge.direction = q.y > p.y ? 1 : -1;
            edges.push_back(edge);
        }
        std::sort(edges.begin(), edges.end(), [](const Edge &l, const Edge &r) { return l.top < r.top; });
        struct Crossing {
            long long x; // first pixel column at or right of the edge
            int direction;
        };
        std::vector<Crossing> crossings;
        std::vector<Edge> active;
        size_t next = 0;
        for (long long y = ymin; y < ymax; ++y) {
            while (next < edges.size() && edges[next].top == y) active.push_back(edges[next++]);
            active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge &e) { return e.bottom <= y; }),
                         active.end());
            if (active.empty()) {
                if (next == edges.size()) break;
                y = edges[next].top - 1; // skip the rows no edge crosses
                continue;
            }
            crossings.clear();
            for (Edge &e : active) {
                crossings.push_back(Crossing{std::clamp<long long>(e.x, b.left - 1LL, b.right + 1LL), e.direction});
                // To the next row: x grows by step, and by one more when the remainder runs out.
                e.x += e.step;
                if (e.error < e.rest) {
                    e.x += 1;
                    e.error += e.den;
                }
                e.error -= e.rest;
            }
            std::sort(crossings.begin(), crossings.end(), [](const Crossing &a, const Crossing &e) { return a.x < e.x; });
            int level = 0;
            for (size_t k = 0; k + 1 < crossings.size(); ++k) {
                level += winding ? crossings[k].direction : 1;
                bool in = winding ? level != 0 : (level & 1);
                if (in && crossings[k].x < crossings[k + 1].x)
                    painter.Span(static_cast<int>(y), static_cast<int>(crossings[k].x), static_cast<int>(crossings[k + 1].x),
                                 fill);
            }
        }
    }
    PenPath(*c, canvas, points, static_cast<size_t>(count), true);
    return TRUE;
}

} // extern "C"
