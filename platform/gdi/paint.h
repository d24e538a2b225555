// Pixel writing shared by the drawing calls: spans and pixels through a context's clip and raster
// operation, span sets for shapes that must touch each pixel once, and the ellipse outline.
#pragma once

#include "gdi/gdi.h"

#include <cstdint>
#include <vector>

namespace vorla::platform::gdi {

// The context and canvas of a drawing call; false when the context draws nowhere.
bool OpenCanvas(HDC dc, Context *&context, Canvas &canvas);
// Colour of a brush handle (a brush object or a system colour index + 1); false for none.
bool SolidBrushColour(HBRUSH brush, uint32_t &rgb);
// The selected pen when it draws anything.
Pen *DrawingPen(Context &context);

uint32_t ApplyRop2(int rop, uint32_t pen, uint32_t destination);

// Writes clipped spans and pixels with a raster operation and reports the changed area to the
// canvas once, when it goes out of scope.
class Painter {
public:
    Painter(Canvas &canvas, int rop);
    ~Painter();
    Painter(const Painter &) = delete;
    Painter &operator=(const Painter &) = delete;

    void Span(int y, int x0, int x1, uint32_t rgb); // [x0, x1)
    void Pixel(int x, int y, uint32_t rgb) {
        if (single_ ? !bounds_.Contains(x, y) : !canvas_.clip.Contains(x, y)) return;
        Write(y, x, x + 1, rgb);
    }
    // Direct access for callers that clip themselves to Bounds(): only when copying onto a
    // 32-bit surface through a single clip box.
    bool Direct() const { return single_ && rop_ == R2_COPYPEN && canvas_.format == Canvas::Format::Rgb32; }
    uint32_t *Row(int y) const {
        return reinterpret_cast<uint32_t *>(canvas_.base + canvas_.stride * (y + canvas_.origin_y)) + canvas_.origin_x;
    }
    ptrdiff_t RowStep() const { return canvas_.stride / 4; }
    void Changed(const Box &box) { changed_ = changed_.Bound(box); }
    // Smallest box holding every pixel the clip lets through.
    const Box &Bounds() const { return bounds_; }
    bool Nothing() const { return bounds_.Empty() || rop_ == R2_NOP_MODE; }

private:
    static constexpr int R2_NOP_MODE = 11;
    void Write(int y, int x0, int x1, uint32_t rgb); // already clipped
    Canvas &canvas_;
    int rop_;
    Box bounds_;
    bool single_;
    Box changed_;
};

// Horizontal runs gathered from overlapping pieces (wide pen stamps, joins) and painted so that
// every pixel is written once, which keeps XOR drawing right. Runs outside the limit are dropped.
class SpanSet {
public:
    explicit SpanSet(const Box &limit) : limit_(limit) {}
    void Add(long long y, long long x0, long long x1); // [x0, x1)
    void Paint(Painter &painter, uint32_t rgb);
    // Paints an outline with a styled pen: the pixels in path order, counter-clockwise around
    // (cx, cy) from the direction start (radians; 0 is the right-hand side), on and off by the
    // pen's pattern.
    void PaintStyled(Painter &painter, const Pen &pen, const State &state, double cx, double cy, double start = 0);
    const Box &Limit() const { return limit_; }

private:
    struct Run {
        int y, x0, x1;
    };
    Box limit_;
    std::vector<Run> runs_;
};

// One row of the outline of the ellipse inscribed in [0, w) x [0, h): the left half's outline
// pixels are [outer, inner]; the right half mirrors them (x' = w - 1 - x). A closed row is
// outline from outer to its mirror.
struct OutlineRow {
    int outer = 0, inner = 0;
    bool closed = false;
};

// Rows [from, to) of that outline, indexed from 0 = row from.
std::vector<OutlineRow> EllipseOutline(long long w, long long h, long long from, long long to);

// The on/off pattern of a pen (empty for a solid one), and whether path distance d is on.
const std::vector<DWORD> &PenPattern(const Pen &pen);
bool PatternOn(const std::vector<DWORD> &pattern, unsigned long long total, long long d);

// Pixels a round pen of width w covers around (x, y).
void StampDisc(SpanSet &spans, long long x, long long y, int w);
// A wide pen's segment: both end discs and the body between them.
void WideSegment(SpanSet &spans, long long x0, long long y0, long long x1, long long y1, int w);

// One pen segment from (x0, y0) up to, not including, (x1, y1); wide pens add to spans instead.
void PenSegment(Context &context, Painter &painter, SpanSet *wide, long long x0, long long y0, long long x1,
                long long y1);

// Draws a closed or open outline through points with the context's pen.
void PenPath(Context &context, Canvas &canvas, const POINT *points, size_t count, bool closed);

} // namespace vorla::platform::gdi
