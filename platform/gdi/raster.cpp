// Drawing: pixels, fills, cosmetic and wide lines, rectangles and blits, with the pixel rules of
// the system (aliased, integer, end points excluded where GDI excludes them).
#include "gdi/gdi.h"
#include "internal/system.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vorla::platform::gdi {

namespace {

bool Prepare(HDC dc, Context *&c, Canvas &canvas) {
    c = ContextOf(dc);
    return c && MakeCanvas(*c, canvas);
}

uint32_t BrushColour(HBRUSH handle, bool &paint) {
    paint = false;
    uintptr_t raw = reinterpret_cast<uintptr_t>(handle);
    if (raw >= 1 && raw <= COLOR_INFOBK + 1) { // a system colour: (COLOR_x + 1)
        paint = true;
        return ToRgb(GetSysColor(static_cast<int>(raw) - 1));
    }
    Brush *b = As<Brush>(handle, Kind::Brush);
    if (!b || b->style != BS_SOLID) return 0;
    paint = true;
    return ToRgb(b->colour);
}

void Plot(Canvas &canvas, int x, int y, uint32_t rgb) {
    if (!canvas.clip.Contains(x, y)) return;
    canvas.Put(x, y, rgb);
    canvas.Touch(Box{x, y, x + 1, y + 1});
}

// Pixels of a disc of diameter w whose top-left offset is -w/2, as wide round pens stamp it.
void Disc(Canvas &canvas, int x, int y, int w, uint32_t rgb) {
    int first = -(w / 2);
    double centre = first + (w - 1) / 2.0, radius = w / 2.0;
    for (int oy = first; oy < first + w; ++oy)
        for (int ox = first; ox < first + w; ++ox) {
            double dx = ox - centre, dy = oy - centre;
            if (dx * dx + dy * dy <= radius * radius + 1e-9) Plot(canvas, x + ox, y + oy, rgb);
        }
}

// Whether the pixel at path distance d of a segment is drawn by the pen's style.
bool StyleOn(const Pen &pen, int d) {
    if (pen.geometric && pen.style == PS_USERSTYLE) {
        DWORD total = 0;
        for (DWORD e : pen.user_style) total += e;
        if (total == 0) return true;
        DWORD p = static_cast<DWORD>(d) % total, start = 0;
        for (size_t i = 0; i < pen.user_style.size(); ++i) {
            DWORD length = pen.user_style[i];
            if (i % 2 == 0) {
                DWORD covered = length == 0 ? 1 : length; // a zero dash is a round-capped dot
                if (p >= start && p < start + covered) return true;
            }
            start += length;
        }
        return false;
    }
    if (pen.style == PS_DOT) return (d % 6) < 3;
    if (pen.style == PS_DASH) return (d % 24) < 18;
    return true;
}

} // namespace

// One segment from (x0, y0) up to, not including, (x1, y1).
void DrawSegment(Context &c, Canvas &canvas, int x0, int y0, int x1, int y1) {
    Pen *pen = As<Pen>(c.state.pen, Kind::Pen);
    if (!pen || pen->style == PS_NULL) return;
    uint32_t rgb = ToRgb(pen->colour);
    uint32_t gap = ToRgb(c.state.background_colour);
    bool wide = pen->width > 1;
    bool styled = !wide && pen->style != PS_SOLID;
    bool opaque_gaps = styled && !pen->geometric && c.state.background_mode == OPAQUE;
    int dx = x1 - x0, dy = y1 - y0;
    int adx = std::abs(dx), ady = std::abs(dy);
    bool x_major = adx >= ady;
    int steps = x_major ? adx : ady;
    int dmajor = steps, dminor = x_major ? ady : adx;
    int octant;
    if (x_major) octant = dx > 0 ? (dy >= 0 ? 1 : 8) : (dy >= 0 ? 4 : 5);
    else octant = dy > 0 ? (dx >= 0 ? 2 : 3) : (dx >= 0 ? 7 : 6);
    int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    int err = 2 * dminor - dmajor;
    int x = x0, y = y0;
    for (int i = 0; i < steps; ++i) {
        if (wide) Disc(canvas, x, y, pen->width, rgb);
        else if (!styled || StyleOn(*pen, i)) Plot(canvas, x, y, rgb);
        else if (opaque_gaps) Plot(canvas, x, y, gap);
        if (err + bias > 0) {
            if (x_major) y += sy;
            else x += sx;
            err -= 2 * dmajor;
        }
        err += 2 * dminor;
        if (x_major) x += sx;
        else y += sy;
    }
    // Wide pens cover their end point with the cap.
    if (wide) Disc(canvas, x1, y1, pen->width, rgb);
}

} // namespace vorla::platform::gdi

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour) {
    Context *c;
    Canvas canvas;
    if (!Prepare(dc, c, canvas) || !canvas.clip.Contains(x, y)) return CLR_INVALID;
    canvas.Put(x, y, ToRgb(colour));
    canvas.Touch(Box{x, y, x + 1, y + 1});
    return ToColorRef(canvas.Get(x, y));
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    Context *c;
    Canvas canvas;
    if (!Prepare(dc, c, canvas) || !canvas.clip.Contains(x, y)) return CLR_INVALID;
    return ToColorRef(canvas.Get(x, y));
}

int WINAPI FillRect(HDC dc, const RECT *rect, HBRUSH brush) {
    Context *c;
    Canvas canvas;
    if (!rect || !Prepare(dc, c, canvas)) return 0;
    bool paint;
    uint32_t rgb = BrushColour(brush, paint);
    if (!paint) return brush ? 1 : 0;
    if (rect->right <= rect->left || rect->bottom <= rect->top) return 1;
    canvas.Fill(Box{rect->left, rect->top, rect->right, rect->bottom}, rgb);
    return 1;
}

BOOL WINAPI PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    Context *c;
    Canvas canvas;
    if (!Prepare(dc, c, canvas)) return FALSE;
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    Box box{x, y, x + w, y + h};
    switch (rop) {
    case BLACKNESS: canvas.Fill(box, 0); return TRUE;
    case WHITENESS: canvas.Fill(box, 0xFFFFFF); return TRUE;
    case PATCOPY: {
        bool paint;
        uint32_t rgb = BrushColour(static_cast<HBRUSH>(c->state.brush), paint);
        if (paint) canvas.Fill(box, rgb);
        return TRUE;
    }
    case DSTINVERT:
        for (const Box &clip : canvas.clip.Boxes()) {
            Box b = clip.Intersect(box);
            for (int yy = b.top; yy < b.bottom; ++yy)
                for (int xx = b.left; xx < b.right; ++xx) canvas.Put(xx, yy, ~canvas.Get(xx, yy) & 0xFFFFFF);
            canvas.Touch(b);
        }
        return TRUE;
    default: return FALSE;
    }
}

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
    Canvas canvas;
    if (MakeCanvas(*c, canvas)) DrawSegment(*c, canvas, c->state.position.x, c->state.position.y, x, y);
    c->state.position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC dc, const POINT *points, int count) {
    Context *c;
    Canvas canvas;
    if (!points || count < 2 || !Prepare(dc, c, canvas)) return FALSE;
    for (int i = 1; i < count; ++i) DrawSegment(*c, canvas, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    return TRUE;
}

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    Context *c;
    Canvas canvas;
    if (!Prepare(dc, c, canvas)) return FALSE;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return TRUE;
    Pen *pen = As<Pen>(c->state.pen, Kind::Pen);
    bool outline = pen && pen->style != PS_NULL;
    bool paint;
    uint32_t fill = BrushColour(static_cast<HBRUSH>(c->state.brush), paint);
    if (paint) {
        Box inner = outline ? Box{left + 1, top + 1, right - 1, bottom - 1} : Box{left, top, right - 1, bottom - 1};
        if (!inner.Empty()) canvas.Fill(inner, fill);
    }
    if (outline) {
        // The outline is the closed path through the four inner corners.
        int r = right - 1, b = bottom - 1;
        DrawSegment(*c, canvas, left, top, r, top);
        DrawSegment(*c, canvas, r, top, r, b);
        DrawSegment(*c, canvas, r, b, left, b);
        DrawSegment(*c, canvas, left, b, left, top);
        if (r == left || b == top) DrawSegment(*c, canvas, left, top, left + 1, top);
    }
    return TRUE;
}

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, DWORD rop) {
    Context *dc;
    Canvas to;
    if (!Prepare(dest, dc, to)) return FALSE;
    if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY || rop == DSTINVERT) return PatBlt(dest, x, y, w, h, rop);
    if (rop != SRCCOPY) return FALSE;
    Context *sc;
    Canvas from;
    if (!Prepare(source, sc, from)) return FALSE;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return TRUE;
    // The source rectangle is limited by the source surface only, not by its context's clip.
    Box source_bounds{-from.origin_x, -from.origin_y, from.width - from.origin_x, from.height - from.origin_y};
    bool same_size = w == sw && h == sh;
    // Read first, so blits inside one surface may overlap.
    std::vector<uint32_t> block(static_cast<size_t>(w) * static_cast<size_t>(h));
    std::vector<uint8_t> valid(block.size(), 0);
    for (int yy = 0; yy < h; ++yy) {
        int py = same_size ? sy + yy : sy + static_cast<int>(static_cast<long long>(yy) * sh / h);
        for (int xx = 0; xx < w; ++xx) {
            int px = same_size ? sx + xx : sx + static_cast<int>(static_cast<long long>(xx) * sw / w);
            if (!source_bounds.Contains(px, py)) continue;
            size_t i = static_cast<size_t>(yy) * static_cast<size_t>(w) + static_cast<size_t>(xx);
            block[i] = from.Get(px, py);
            valid[i] = 1;
        }
    }
    for (const Box &clip : to.clip.Boxes()) {
        Box b = clip.Intersect(Box{x, y, x + w, y + h});
        for (int yy = b.top; yy < b.bottom; ++yy)
            for (int xx = b.left; xx < b.right; ++xx) {
                size_t i = static_cast<size_t>(yy - y) * static_cast<size_t>(w) + static_cast<size_t>(xx - x);
                if (valid[i]) to.Put(xx, yy, block[i]);
            }
        to.Touch(b);
    }
    return TRUE;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
    return StretchBlt(dest, x, y, w, h, source, sx, sy, w, h, rop);
}

// Text metrics of the Gothic face: half-width characters are em / 2 wide, double-byte ones em.
BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    Context *c = ContextOf(dc);
    Font *f = c ? As<Font>(c->state.font, Kind::Font) : nullptr;
    if (!f || !metrics) return FALSE;
    std::memset(metrics, 0, sizeof(*metrics));
    int em = f->em;
    metrics->tmHeight = em;
    metrics->tmAscent = static_cast<LONG>(std::lround(em * 1802.0 / 2048.0));
    metrics->tmDescent = em - metrics->tmAscent;
    metrics->tmAveCharWidth = em / 2;
    metrics->tmMaxCharWidth = em;
    metrics->tmWeight = f->description.lfWeight ? f->description.lfWeight : FW_NORMAL;
    metrics->tmCharSet = f->description.lfCharSet;
    metrics->tmPitchAndFamily = FIXED_PITCH;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFC;
    metrics->tmDefaultChar = 0x1F;
    metrics->tmBreakChar = 0x20;
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    Context *c = ContextOf(dc);
    Font *f = c ? As<Font>(c->state.font, Kind::Font) : nullptr;
    if (!f || !size || length < 0 || (length > 0 && !text)) return FALSE;
    int em = f->em, width = 0;
    for (int i = 0; i < length; ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead && i + 1 < length) {
            width += em;
            ++i;
        } else {
            width += em / 2;
        }
    }
    size->cx = width;
    size->cy = length > 0 ? em : 0;
    if (length == 0) size->cy = 0;
    return TRUE;
}

} // extern "C"
