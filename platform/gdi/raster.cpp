// Pixels and fills: SetPixel, GetPixel, FillRect and PatBlt. Fills run row by row on the
// surface memory; lines, shapes and blits live beside this file.
#include "gdi/paint.h"

#include <algorithm>
#include <climits>

using namespace vorla::platform;
using namespace vorla::platform::gdi;

extern "C" {

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour) {
    Context *c;
    Canvas canvas;
    if (!OpenCanvas(dc, c, canvas) || !canvas.clip.Contains(x, y)) return CLR_INVALID;
    canvas.Put(x, y, ToRgb(colour));
    canvas.Touch(Box{x, y, x + 1, y + 1});
    return ToColorRef(canvas.Get(x, y));
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    Context *c;
    Canvas canvas;
    if (!OpenCanvas(dc, c, canvas) || !canvas.clip.Contains(x, y)) return CLR_INVALID;
    return ToColorRef(canvas.Get(x, y));
}

// The raster mode and the pen play no part here.
int WINAPI FillRect(HDC dc, const RECT *rect, HBRUSH brush) {
    Context *c;
    Canvas canvas;
    if (!rect || !OpenCanvas(dc, c, canvas)) return 0;
    uint32_t rgb;
    if (!SolidBrushColour(brush, rgb)) return brush ? 1 : 0;
    if (rect->right <= rect->left || rect->bottom <= rect->top) return 1;
    canvas.Fill(Box{rect->left, rect->top, rect->right, rect->bottom}, rgb);
    return 1;
}

BOOL WINAPI PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    Context *c;
    Canvas canvas;
    if (!OpenCanvas(dc, c, canvas)) return FALSE;
    long long left = x, top = y, right = left + w, bottom = top + h;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    auto clamp = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    Box box{clamp(left), clamp(top), clamp(right), clamp(bottom)};
    uint32_t brush = 0;
    bool paint = SolidBrushColour(static_cast<HBRUSH>(c->state.brush), brush);
    int mode;
    switch (rop) {
    case BLACKNESS: canvas.Fill(box, 0); return TRUE;
    case WHITENESS: canvas.Fill(box, 0xFFFFFF); return TRUE;
    case PATCOPY:
        if (paint) canvas.Fill(box, brush);
        return TRUE;
    case DSTINVERT: mode = R2_NOT; break;
    case PATINVERT:
        if (!paint) return TRUE;
        mode = R2_XORPEN;
        break;
    default: return FALSE;
    }
    Painter painter(canvas, mode);
    Box b = box.Intersect(painter.Bounds());
    for (int yy = b.top; yy < b.bottom; ++yy) painter.Span(yy, b.left, b.right, brush);
    return TRUE;
}

} // extern "C"
