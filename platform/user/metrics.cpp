// System metrics and colours of the classic look at 96 dpi, message boxes, rectangle helpers.
#include "internal/system.h"

#include <algorithm>

using namespace vorla::platform;

// The system's rectangle helpers add in 32 bits and wrap around at the ends of the range, as
// the machine does; done in 64 bits, the wrap is defined instead of an overflow.
static LONG WrappingAdd(LONG value, long long delta) {
    return static_cast<LONG>(static_cast<int32_t>(static_cast<uint32_t>(static_cast<long long>(value) + delta)));
}

extern "C" {

int WINAPI GetSystemMetrics(int index) {
    System &s = TheSystem();
    auto it = s.metrics.find(index);
    if (it != s.metrics.end()) return it->second;
    int w = 0, h = 0;
    switch (index) {
    case SM_CXSCREEN: CurrentBackend().ScreenSize(w, h); return w;
    case SM_CYSCREEN: CurrentBackend().ScreenSize(w, h); return h;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 16;
    default: return 0;
    }
}

DWORD WINAPI GetSysColor(int index) {
    static const DWORD colours[] = {
        RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
        RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
        RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
        RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
        RGB(255, 255, 255), RGB(0, 0, 0),       RGB(192, 192, 192), RGB(0, 0, 0),       RGB(255, 255, 225),
    };
    if (index < 0 || index >= static_cast<int>(sizeof(colours) / sizeof(colours[0]))) return 0;
    return colours[index];
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    if (owner && !FindWindow(owner)) return 0;
    Window *w = FindWindow(owner);
    return CurrentBackend().MessageBox(w ? w->surface : 0, text ? text : "", caption ? caption : "Error", style);
}

BOOL WINAPI SetRect(LPRECT r, int left, int top, int right, int bottom) {
    if (!r) return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}
BOOL WINAPI SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
BOOL WINAPI IsRectEmpty(const RECT *r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL WINAPI PtInRect(const RECT *r, POINT p) {
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL WINAPI IntersectRect(LPRECT out, const RECT *a, const RECT *b) {
    if (!out || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = r;
    return TRUE;
}
BOOL WINAPI UnionRect(LPRECT out, const RECT *a, const RECT *b) {
    if (!out || !a || !b) return FALSE;
    if (IsRectEmpty(a)) {
        if (IsRectEmpty(b)) return SetRectEmpty(out), FALSE;
        *out = *b;
        return TRUE;
    }
    if (IsRectEmpty(b)) {
        *out = *a;
        return TRUE;
    }
    *out = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
    return TRUE;
}
BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left = WrappingAdd(r->left, dx);
    r->right = WrappingAdd(r->right, dx);
    r->top = WrappingAdd(r->top, dy);
    r->bottom = WrappingAdd(r->bottom, dy);
    return TRUE;
}
BOOL WINAPI InflateRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left = WrappingAdd(r->left, -static_cast<long long>(dx));
    r->right = WrappingAdd(r->right, dx);
    r->top = WrappingAdd(r->top, -static_cast<long long>(dy));
    r->bottom = WrappingAdd(r->bottom, dy);
    return TRUE;
}
BOOL WINAPI EqualRect(const RECT *a, const RECT *b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

} // extern "C"
